#include "s/image/tiff/win/Tiff.h"

#include <vector>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/tiff/win/TiffReader.h"
#include "s/image/util/EncodedBytes.h"
#include "s/image/util/RasterImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace s::image::tiff::win {

using bmp::win::Bitmap;
using image::win::BufferedImage;
using image::win::BufferedImageSet;

Tiff::Tiff() : raster_(Bitmap::create()) {}

Tiff::~Tiff() { raster_->release(); }

void Tiff::reset() {
  raster_->reset();
  pageCount_ = 0;
  bitDepth_ = 0;
  transparent_ = false;
  profile_ = ColourProfile();
}

int Tiff::getWidth() const { return raster_->getWidth(); }

int Tiff::getHeight() const { return raster_->getHeight(); }

void Tiff::setFileValues(int pageCount, int bitDepth, bool transparent) {
  pageCount_ = pageCount;
  bitDepth_ = bitDepth;
  transparent_ = transparent;
}

BufferedImage* Tiff::toBufferedImage(int, BufferedImage* target) {
  return util::RasterImage::toBufferedImage(*raster_, transparent_, target);
}

thread::Owned<BufferedImageSet> Tiff::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), bitDepth_, 0, 0);
  set->setColourProfile(profile_);
  return set;
}

bool Tiff::write(io::IOutputStream&) { return false; }

bool Tiff::read(io::IInputStream& in) { return readLimited(in, Bitmap::kMaxPixels); }

bool Tiff::readLimited(io::IInputStream& in, int64_t maxPixels) {
  reset();
  util::EncodedBytes bytes;
  if (bytes.read(in, util::EncodedBytes::kMaxBytes) != util::EncodedBytesStatus::kRead) return false;
  TiffReader reader(*this, maxPixels);
  if (reader.read(bytes.data(), bytes.size()) != TiffReadStatus::kDecoded) {
    reset();
    return false;
  }
  return true;
}

}  // namespace s::image::tiff::win
