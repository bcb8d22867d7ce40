#pragma once
// The JPEG codec's operations beyond the codec interface: the inner 24-bit raster
// (blue, green, red bytes, bottom-up rows) and the encoding quality.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image::jpg {

class IJpeg : public IEncodedImage {
 public:
  // A new zeroed 24-bit raster; false (empty raster) when out of range or refused.
  virtual bool create(int width, int height) = 0;
  virtual bool copyFromHandle(BitmapHandle bitmap) = 0;
  virtual bool drawToHandle(BitmapHandle bitmap) const = 0;
  virtual int getBitCount() const = 0;
  virtual int getStride() const = 0;
  virtual bool hasAlphaChannel() const = 0;
  virtual bool hasPalette() const = 0;
  virtual int getPaletteCount() const = 0;
  virtual int getPaletteSize() const = 0;
  // Row y counted from the top. No range check.
  virtual uint8_t* getRow(int y) = 0;
  virtual uint8_t* getBits() = 0;
  // Passed to the encoder as stored; the library limits it to 1-100.
  virtual void setQuality(int quality) = 0;
  // The raster from a pixel image, transparency composed onto the background colour.
  virtual bool fromBufferedImage(image::win::BufferedImage* image, int quality, int red, int green, int blue) = 0;
};

}  // namespace s::image::jpg
