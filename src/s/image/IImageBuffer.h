#pragma once
// The pixel-buffer side of a pixel image: logical size inside an allocated
// capacity, row access, the alpha flag, drawing and scaling.
#include <cstdint>

#include "s/image/IImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image {

namespace win {
class BufferedImage;
}

class IImageBuffer : public IImage {
 public:
  virtual bool isPixelBuffer() const = 0;
  // The platform bitmap of the pixels, for drawing: made on first use, and the
  // pixels move into it (row pointers taken before are stale). Null where the
  // platform has none.
  virtual BitmapHandle getBitmapHandle() = 0;
  // Logical size; kept within the capacity.
  virtual void setSize(int width, int height) = 0;
  virtual void ensureCapacity(int width, int height) = 0;
  // A fresh raster of exactly width x height; false (and size 0) when refused.
  virtual bool create(int width, int height) = 0;
  virtual win::BufferedImage* newImage(int width, int height) const = 0;
  virtual int getRowBytes() const = 0;
  virtual int getCapacityWidth() const = 0;
  virtual int getCapacityHeight() const = 0;
  virtual int getCapacityRowBytes() const = 0;
  // Row y of the picture (0 = top). No range check.
  virtual uint8_t* getLine(int y) = 0;
  virtual uint8_t* getBits() = 0;
  virtual const uint8_t* getLine(int y) const = 0;
  virtual const uint8_t* getBits() const = 0;
  virtual bool hasAlpha() const = 0;
  virtual void setAlpha(bool hasAlpha) = 0;
  virtual win::BufferedImage* getScaledCache() const = 0;
  virtual void setScaledCache(win::BufferedImage* image) = 0;
  virtual void drawTo(DeviceContextHandle dc, int x, int y, int width, int height, bool stretch) = 0;
  virtual void drawTo(DeviceContextHandle dc, int width, int height, bool stretch) = 0;
  virtual void drawImage(int x, int y, int width, int height, win::BufferedImage* source, int sourceX, int sourceY,
                         bool scale) = 0;
  // The image itself, or its cached scaled copy; the caller must not release it.
  virtual win::BufferedImage* scaledCopy(int width, int height, bool keepRatio) = 0;
};

}  // namespace s::image
