#include "s/image/jpg/win/Jpeg.h"

#include "s/image/jpg/EncodeSetting.h"
#include "s/image/jpg/win/JpegReader.h"
#include "s/image/jpg/win/JpegWriter.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::jpg::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

Jpeg::Jpeg() : raster_(bmp::win::Bitmap::create()) {}

Jpeg::~Jpeg() = default;

void Jpeg::reset() {
  raster_->reset();
  quality_ = kDefaultQuality;
  profile_ = ColourProfile();
}

BufferedImage* Jpeg::toBufferedImage(int index, BufferedImage* target) { return raster_->toBufferedImage(index, target); }

thread::Owned<BufferedImageSet> Jpeg::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), 24, 0, 0);
  set->setColourProfile(profile_);
  return set;
}

bool Jpeg::write(io::IOutputStream& out) { return JpegWriter::encode(*raster_, quality_, profile_, out); }

bool Jpeg::read(io::IInputStream& in) { return readLimited(in, bmp::win::Bitmap::kMaxPixels); }

bool Jpeg::readLimited(io::IInputStream& in, int64_t maxPixels) {
  raster_->reset();
  return JpegReader::decode(in, *raster_, maxPixels, &profile_);
}

bool Jpeg::fromBufferedImage(BufferedImage* image, int quality, int red, int green, int blue) {
  setQuality(quality);
  // At 24 bits without kept transparency the bitmap composes a transparent image
  // onto the background colour and drops the alpha byte.
  return raster_->fromBufferedImage(image, 24, false, red, green, blue);
}

thread::Owned<IEncodedImage> Jpeg::createLike(IImage* imageOrSet) {
  auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet);
  if (!set) return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
  thread::Owned<IEncodedImage> encoded = createLike(set->getPrimary());
  if (encoded) encoded->setColourProfile(set->getColourProfile());
  return encoded;
}

thread::Owned<IEncodedImage> Jpeg::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->quality = kDefaultQuality;
  return setting->encodeImage(image);
}

}  // namespace s::image::jpg::win
