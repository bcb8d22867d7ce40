#pragma once
// The operations of the GIF codec beyond the codec interface.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/image/PlatformHandles.h"

namespace s::image::gif {

class IGif : public IEncodedImage {
 public:
  // Drops every frame and adds one zeroed frame of width x height (transparent index
  // -1, delay 0, disposal 0). Frames are always 8-bit rasters; bitCount (1..8) is the
  // depth the caller asks for and is accepted for any value in that range. False,
  // leaving no frame, for other depths or sizes a raster cannot hold.
  virtual bool create(int width, int height, int bitCount) = 0;
  // With exactly one frame, that frame becomes a copy of the bitmap; otherwise all
  // frames are dropped and one copied frame is added. Windows only.
  virtual bool copyFromHandle(BitmapHandle bitmap) = 0;
  // The first frame's.
  virtual bool drawToHandle(BitmapHandle bitmap) const = 0;
  virtual int getBitCount() const = 0;
  virtual int getStride() const = 0;
  virtual bool hasAlphaChannel() const = 0;
  virtual bool hasPalette() const = 0;
  virtual int getPaletteCount() const = 0;
  virtual int getPaletteSize() const = 0;
  // Some frame has a transparent index.
  virtual bool hasTransparency() const = 0;
  // Appends one frame built from the pixel image: 2^depth - 1 colours (depth 1..8;
  // other values give 8), pixels with alpha below alphaThreshold transparent when
  // keepTransparency, else the picture composed onto the colour.
  virtual bool fromBufferedImage(image::win::BufferedImage* image, int depth, bool keepTransparency, int red, int green,
                                 int blue, int alphaThreshold) = 0;
  // Builds all frames from an image set; an animated set becomes an animation whose
  // later frames hold only the pixels that changed.
  virtual bool fromImageSet(image::win::BufferedImageSet* set, int depth, bool keepTransparency, int red, int green,
                            int blue) = 0;
};

}  // namespace s::image::gif
