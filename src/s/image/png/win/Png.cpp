#include "s/image/png/win/Png.h"

#include <cstring>

#include "s/image/png/EncodeSetting.h"
#include "s/image/png/win/PngReader.h"
#include "s/image/png/win/PngWriter.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::png::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

Png::Png() : raster_(bmp::win::Bitmap::create()) {}

Png::~Png() = default;

void Png::reset() {
  raster_->reset();
  interlace_ = false;
  profile_ = ColourProfile();
}

BufferedImage* Png::toBufferedImage(int index, BufferedImage* target) {
  BufferedImage* image = raster_->toBufferedImage(index, target);
  // A bitmap whose fourth bytes are all 0 counts as opaque (files written without
  // alpha look like that), but a PNG's alpha is always real: a wholly transparent
  // picture stays transparent.
  if (image->hasAlpha() || image->getWidth() != getWidth() || image->getHeight() != getHeight()) return image;
  for (int y = 0; y < getHeight(); ++y) {
    const uint8_t* row = getRow(y);
    for (int x = 0; x < getWidth(); ++x)
      if (row[4 * x + 3] != 0) return image;
  }
  for (int y = 0; y < image->getHeight(); ++y) {
    uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getWidth(); ++x) line[4 * x + 3] = 0;
  }
  image->setAlpha(image->getWidth() > 0);
  return image;
}

thread::Owned<BufferedImageSet> Png::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), 32, 0, 0);
  set->setColourProfile(profile_);
  return set;
}

bool Png::write(io::IOutputStream& out) { return PngWriter::encode(*raster_, interlace_, profile_, out); }

bool Png::read(io::IInputStream& in) { return readLimited(in, bmp::win::Bitmap::kMaxPixels); }

bool Png::readLimited(io::IInputStream& in, int64_t maxPixels) {
  raster_->reset();
  return PngReader::decode(in, *raster_, maxPixels, &profile_);
}

bool Png::fromBufferedImage(BufferedImage* image, bool interlace, bool keepTransparency, int red, int green,
                            int blue) {
  setInterlace(interlace);
  if (!image) {
    raster_->reset();
    return false;
  }
  // Composed onto the background: the bitmap does that at 32 bits when
  // transparency is not kept, leaving alpha 255.
  if (image->hasAlpha() && !keepTransparency) return raster_->fromBufferedImage(image, 32, false, red, green, blue);
  const int width = image->getWidth();
  const int height = image->getHeight();
  if (!create(width, height)) return false;
  const bool opaque = !image->hasAlpha();
  for (int y = 0; y < height; ++y) {
    uint8_t* row = getRow(y);
    std::memcpy(row, image->getLine(y), static_cast<size_t>(width) * 4);
    // An image without alpha may carry any fourth byte; the file must be opaque.
    if (opaque)
      for (int x = 0; x < width; ++x) row[4 * x + 3] = 255;
  }
  return true;
}

thread::Owned<IEncodedImage> Png::createLike(IImage* imageOrSet) {
  auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet);
  if (!set) return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
  thread::Owned<IEncodedImage> encoded = createLike(set->getPrimary());
  if (encoded) encoded->setColourProfile(set->getColourProfile());
  return encoded;
}

thread::Owned<IEncodedImage> Png::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->interlace = true;
  return setting->encodeImage(image);
}

}  // namespace s::image::png::win
