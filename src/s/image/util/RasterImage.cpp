#include "s/image/util/RasterImage.h"

#include <cstring>

namespace s::image::util {

using image::win::BufferedImage;

BufferedImage* RasterImage::toBufferedImage(bmp::win::Bitmap& raster, bool hasAlpha, BufferedImage* target) {
  const bool usable = raster.getBitCount() == 32 && raster.getBits() != nullptr;
  const int width = usable ? raster.getWidth() : 0;
  const int height = usable ? raster.getHeight() : 0;
  // Every row is copied below.
  target = BufferedImage::outputFor(target, width, height);
  if (target->getWidth() == 0) return target;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y) std::memcpy(target->getLine(y), raster.getRow(y), rowBytes);
  target->setAlpha(hasAlpha);
  return target;
}

bool RasterImage::hasTransparency(bmp::win::Bitmap& raster) {
  if (raster.getBitCount() != 32 || !raster.getBits()) return false;
  for (int y = 0; y < raster.getHeight(); ++y) {
    const uint8_t* row = raster.getRow(y);
    for (int x = 0; x < raster.getWidth(); ++x)
      if (row[4 * x + 3] != 255) return true;
  }
  return false;
}

}  // namespace s::image::util
