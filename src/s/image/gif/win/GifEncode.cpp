// Pixel images and image sets to GIF frames.
#include "s/image/EncodeSettingBase.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/filters/reduction/Quantizer.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gif::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

namespace {

bool hasNonOpaquePixel(const BufferedImage* image) {
  for (int y = 0; y < image->getHeight(); ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getWidth(); ++x)
      if (line[4 * x + 3] != 255) return true;
  }
  return false;
}

}  // namespace

bool Gif::fromBufferedImage(BufferedImage* image, int depth, bool keepTransparency, int red, int green, int blue,
                            int alphaThreshold) {
  if (!image || image->getWidth() <= 0 || image->getHeight() <= 0) return false;
  // A depth the frame cannot hold is taken as 8 (this also covers the 0 of a GIF
  // that never had a colour table, which would ask for no colours at all).
  if (depth < 1 || depth > 8) depth = 8;
  const int width = image->getWidth();
  const int height = image->getHeight();
  const int colourCount = (1 << depth) - 1;
  int transparentIndex = -1;
  thread::Owned<BufferedImage> work;
  BufferedImage* source = image;
  if (image->hasAlpha()) {
    work.reset(image->copyTo(nullptr));
    if (work->getWidth() != width || work->getHeight() != height) return false;
    if (keepTransparency) {
      BufferedImage::thresholdAlpha(work.get(), alphaThreshold);
      BufferedImage::recolourTransparent(work.get(), red, green, blue);
      transparentIndex = colourCount;
    } else {
      BufferedImage::fill(work.get(), 255, red, green, blue);
      work->drawImage(0, 0, width, height, image, 0, 0, false);
    }
    source = work.get();
  } else if (hasNonOpaquePixel(image)) {
    // The flag understated the picture's alpha: without a transparent index those
    // pixels would take the unused last entry, so the picture is made opaque.
    work.reset(image->copyTo(nullptr));
    if (work->getWidth() != width || work->getHeight() != height) return false;
    BufferedImage::setOpaque(work.get());
    source = work.get();
  }

  GifFrame* frame = addFrame(width, height);
  if (!frame) return false;
  frame->transparentIndex = transparentIndex;
  bmp::win::Bitmap* raster = frame->raster;
  thread::Owned<filters::reduction::Quantizer> quantizer = thread::make<filters::reduction::Quantizer>();
  quantizer->buildPalette(source->view(), colourCount);
  quantizer->writePaletteQuads(reinterpret_cast<uint8_t*>(raster->getPalette()), quantizer->getColourCount());
  raster->syncColorTable();
  // Pixels that are not fully opaque map to index colourCount, the transparent one.
  for (int y = 0; y < height; ++y) quantizer->mapRow(source->getLine(y), width, raster->getRow(y), 8);
  return true;
}

bool Gif::fromImageSet(BufferedImageSet* set, int depth, bool keepTransparency, int red, int green, int blue) {
  if (!set || set->getCount() == 0) return false;
  if (set->getCount() <= 1 || !set->isAnimated())
    return fromBufferedImage(EncodeSettingBase::encodingSource(set->getPrimary()), depth, keepTransparency, red, green, blue,
                             kAlphaThreshold);
  loopCount_ = static_cast<uint16_t>(set->getLoopCount());

  // Later frames hold only what changed: each picture is drawn over the running
  // canvas, and pixels equal to the canvas before become transparent.
  thread::Owned<BufferedImage> running;
  for (int i = 0; i < set->getCount(); ++i) {
    BufferedImage* picture = EncodeSettingBase::encodingSource(set->getImage(i));
    if (!picture || picture->getWidth() <= 0 || picture->getHeight() <= 0) continue;
    const int before = getFrameCount();
    if (!running) {
      if (!fromBufferedImage(picture, depth, keepTransparency, red, green, blue, kAlphaThreshold)) continue;
      frames_.back().disposal = set->getDisposal(i);
      running.reset(picture->copyTo(nullptr));
    } else {
      thread::Owned<BufferedImage> canvas(running->copyTo(nullptr));
      // drawImage clips to the smaller of the two widths and heights.
      canvas->drawImage(0, 0, picture->getWidth(), picture->getHeight(), picture, 0, 0, false);
      thread::Owned<BufferedImage> changes(canvas->copyTo(nullptr));
      BufferedImage::maskByImage(changes.get(), running.get());
      if (!fromBufferedImage(changes.get(), depth, true, red, green, blue, kAlphaThreshold)) continue;
      frames_.back().disposal = 1;  // do not dispose: the next frame is drawn over this one
      running = std::move(canvas);
    }
    if (getFrameCount() > before) frames_.back().delay = set->getDelay(i);
  }
  return !frames_.empty();
}

}  // namespace s::image::gif::win
