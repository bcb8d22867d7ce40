#include "s/image/heif/win/Heif.h"

#include <vector>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/heif/win/HeifReader.h"
#include "s/image/util/EncodedBytes.h"
#include "s/image/util/RasterImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace s::image::heif::win {

using bmp::win::Bitmap;
using image::win::BufferedImage;
using image::win::BufferedImageSet;

Heif::Heif() : raster_(Bitmap::create()) {}

Heif::~Heif() { raster_->release(); }

void Heif::reset() {
  raster_->reset();
  avif_ = false;
  imageCount_ = 0;
  bitDepth_ = 0;
  transparent_ = false;
  profile_ = ColourProfile();
}

int Heif::getWidth() const { return raster_->getWidth(); }

int Heif::getHeight() const { return raster_->getHeight(); }

void Heif::setFileValues(bool avif, int imageCount, int bitDepth, bool transparent) {
  avif_ = avif;
  imageCount_ = imageCount;
  bitDepth_ = bitDepth;
  transparent_ = transparent;
}

BufferedImage* Heif::toBufferedImage(int, BufferedImage* target) {
  return util::RasterImage::toBufferedImage(*raster_, transparent_, target);
}

thread::Owned<BufferedImageSet> Heif::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), transparent_ ? 32 : 24, 0, 0);
  set->setColourProfile(profile_);
  return set;
}

bool Heif::write(io::IOutputStream&) { return false; }

bool Heif::read(io::IInputStream& in) { return readLimited(in, Bitmap::kMaxPixels); }

bool Heif::readLimited(io::IInputStream& in, int64_t maxPixels) {
  reset();
  util::EncodedBytes bytes;
  if (bytes.read(in, util::EncodedBytes::kMaxBytes) != util::EncodedBytesStatus::kRead) return false;
  HeifReader reader(*this, maxPixels);
  if (reader.read(bytes.data(), bytes.size()) != HeifReadStatus::kDecoded) {
    reset();
    return false;
  }
  return true;
}

}  // namespace s::image::heif::win
