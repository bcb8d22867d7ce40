#pragma once
// A 32-bit raster (blue, green, red, alpha; straight alpha) of a codec as a pixel
// image, its alpha taken as real: a wholly transparent picture stays transparent.
// (A plain BMP's fourth bytes are no alpha when all are 0; the formats that use
// this always store alpha.) The codec measures the transparency once, as it reads.
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::util {

class RasterImage {
 public:
  // Into target (resized) or, without one, into a new image, marked as having
  // alpha or not; an empty raster gives an empty image.
  static image::win::BufferedImage* toBufferedImage(bmp::win::Bitmap& raster, bool hasAlpha,
                                                    image::win::BufferedImage* target);
  // Whether any pixel of the raster is not opaque.
  static bool hasTransparency(bmp::win::Bitmap& raster);
};

}  // namespace s::image::util
