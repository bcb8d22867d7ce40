#pragma once
// The PNG codec's operations beyond the codec interface: the inner 32-bit raster
// (blue, green, red, alpha bytes, bottom-up rows) and the interlace flag for writing.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image::png {

class IPng : public IEncodedImage {
 public:
  // A new zeroed 32-bit raster; false (empty raster) when out of range or refused.
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
  // Write with Adam7 interlacing.
  virtual void setInterlace(bool interlace) = 0;
  // The raster from a pixel image; without keepTransparency a transparent image is
  // composed onto the background colour first.
  virtual bool fromBufferedImage(image::win::BufferedImage* image, bool interlace, bool keepTransparency, int red,
                                 int green, int blue) = 0;
};

}  // namespace s::image::png
