#pragma once
// The raster operations of the BMP codec's bitmap, beyond the codec interface.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image::bmp {

class IBitmap : public IEncodedImage {
 public:
  // A new zeroed raster of width x height at bitCount (1, 4, 8, 16, 24 or 32) with
  // the headers as this codec writes them. False, leaving an empty raster, for
  // sizes out of range or memory refused.
  virtual bool create(int width, int height, int bitCount) = 0;
  // Platform bitmaps and icons (Windows only; elsewhere these answer false).
  virtual bool copyFromHandle(BitmapHandle bitmap) = 0;
  virtual bool createFromIcon(IconHandle icon) = 0;
  virtual bool drawToHandle(BitmapHandle bitmap) const = 0;
  virtual int getBitCount() const = 0;
  virtual int getStride() const = 0;
  virtual bool hasAlphaChannel() const = 0;
  virtual bool hasPalette() const = 0;
  virtual int getPaletteCount() const = 0;
  virtual int getPaletteSize() const = 0;
  // 256 entries, bytes blue, green, red, 0.
  virtual uint32_t* getPalette() = 0;
  // Row y counted from the top. No range check.
  virtual uint8_t* getRow(int y) = 0;
  virtual uint8_t* getBits() = 0;
  virtual bool hasTransparentColor() const = 0;
  virtual void setTransparentColor(int red, int green, int blue) = 0;
  // Information header, colour table and rows, without the file header.
  virtual bool writeDib(io::IOutputStream& out) = 0;
  virtual bool readDib(io::IInputStream& in) = 0;
  virtual bool fromBufferedImage(image::win::BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                                 int blue) = 0;
};

}  // namespace s::image::bmp
