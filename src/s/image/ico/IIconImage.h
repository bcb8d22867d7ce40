#pragma once
// One image of an icon: a colour bitmap laid out as a BMP raster (bottom-up rows,
// padded to 4 bytes, a colour table up to 8 bits) plus a 1-bit AND mask (bottom-up,
// most significant bit first, 1 = transparent), kept with the image's encoded bytes.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image::ico {

class IIconImage : public IEncodedImage {
 public:
  // A zeroed image of width x height at bitCount (1, 4, 8, 16, 24 or 32) with the
  // header an icon image is written with, and a clear mask. False (empty image) for
  // sizes out of range or other depths.
  virtual bool create(int width, int height, int bitCount) = 0;
  // Does nothing for icon images.
  virtual bool copyFromHandle(BitmapHandle bitmap) = 0;
  // Copies the colour bitmap into a platform bitmap (Windows only).
  virtual bool drawToHandle(BitmapHandle bitmap) const = 0;
  // A platform icon of the image's size built from its encoded bytes (serialised
  // first when empty); the caller destroys it. None where the platform has no icons.
  virtual IconHandle createIconHandle() = 0;
  virtual int getBitCount() const = 0;
  virtual bool is32Bit() const = 0;
  virtual bool hasPalette() const = 0;
  virtual int getPaletteCount() const = 0;
  virtual int getPaletteSize() const = 0;
  // Colour row y counted from the top; no range check.
  virtual uint8_t* getRow(int y) = 0;
  virtual uint8_t* getBits() = 0;
  virtual int getStride() const = 0;
  // Mask row y counted from the top; no range check.
  virtual uint8_t* getMaskRow(int y) = 0;
  virtual uint8_t* getMask() = 0;
  virtual int getMaskStride() const = 0;
  // Builds the image from a pixel image at bitCount. With keepTransparency, pixels of
  // alpha 0 (below 32 for depths other than 32) are transparent in the mask; without,
  // the picture is composed onto the colour (red, green, blue) first.
  virtual bool fromBufferedImage(image::win::BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                                 int blue) = 0;
};

}  // namespace s::image::ico
