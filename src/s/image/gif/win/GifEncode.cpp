// Pixel images and image sets to GIF frames.
#include <algorithm>
#include <cstring>

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

// Frames are written with 256-entry colour tables whatever the depth, so a picture
// of depth D keeps all 2^D colours and the index after them marks transparency;
// only at depth 8 is one colour given up for it.
int colourCountFor(int depth) { return std::min(1 << depth, 255); }

bool hasNonOpaquePixel(const BufferedImage* image) {
  for (int y = 0; y < image->getHeight(); ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getWidth(); ++x)
      if (line[4 * x + 3] != 255) return true;
  }
  return false;
}

// The picture as a viewer shows its frame: with kept transparency every pixel below
// the alpha threshold transparent and the rest opaque; otherwise composed onto the
// background colour. None when the copy could not be made.
BufferedImage* viewedPicture(BufferedImage* picture, bool keepTransparency, int red, int green, int blue) {
  thread::Owned<BufferedImage> copy(picture->copyTo(nullptr));
  if (copy->getWidth() != picture->getWidth() || copy->getHeight() != picture->getHeight()) return nullptr;
  if (!picture->hasAlpha()) {
    BufferedImage::setOpaque(copy.get());
  } else if (keepTransparency) {
    BufferedImage::thresholdAlpha(copy.get(), Gif::kAlphaThreshold);
  } else {
    BufferedImage::fill(copy.get(), 255, red, green, blue);
    copy->drawImage(0, 0, picture->getWidth(), picture->getHeight(), picture, 0, 0, false);
  }
  return copy.detach();
}

// Pixels of frame that the screen already shows (opaque there, in the same colour)
// become transparent, so that the frame holds only what changed.
void maskUnchanged(BufferedImage* frame, const BufferedImage* screen) {
  bool any = false;
  for (int y = 0; y < frame->getHeight(); ++y) {
    uint8_t* pixel = frame->getLine(y);
    const uint8_t* shown = screen->getLine(y);
    for (int x = 0; x < frame->getWidth(); ++x, pixel += 4, shown += 4) {
      if (shown[3] != 255 || std::memcmp(pixel, shown, 3) != 0) continue;
      pixel[3] = 0;
      any = true;
    }
  }
  if (any) frame->setAlpha(true);
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
  const int colourCount = colourCountFor(depth);
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
  bmp::win::Bitmap* raster = frame->raster.get();
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

  // Every frame covers the screen from (0, 0). While a picture can be drawn over
  // what the screen shows, its frame holds only the pixels that changed, the rest
  // transparent, and the frame before stays (disposal 1, or the set's 0 for the
  // first frame). A picture transparent where the screen is not cannot be drawn
  // over it: the frame before is then cleared (disposal 2) and the frame holds the
  // whole picture.
  thread::Owned<BufferedImage> screen;  // what a viewer shows after the last frame written
  for (int i = 0; i < set->getCount(); ++i) {
    BufferedImage* picture = EncodeSettingBase::encodingSource(set->getImage(i));
    if (!picture || picture->getWidth() <= 0 || picture->getHeight() <= 0) continue;
    thread::Owned<BufferedImage> viewed(viewedPicture(picture, keepTransparency, red, green, blue));
    if (!viewed) continue;
    const bool whole = !screen || viewed->getWidth() != screen->getWidth() ||
                       viewed->getHeight() != screen->getHeight() ||
                       BufferedImage::hidesTransparency(viewed.get(), screen.get(), Gif::kAlphaThreshold);
    const int before = getFrameCount();
    if (whole) {
      if (!fromBufferedImage(picture, depth, keepTransparency, red, green, blue, kAlphaThreshold)) continue;
      if (before > 0) frames_[static_cast<size_t>(before) - 1].disposal = BufferedImageSet::kDisposeClear;
    } else {
      thread::Owned<BufferedImage> changes(viewed->copyTo(nullptr));
      maskUnchanged(changes.get(), screen.get());
      if (!fromBufferedImage(changes.get(), depth, true, red, green, blue, kAlphaThreshold)) continue;
    }
    GifFrame& frame = frames_.back();
    const bool unspecified = before == 0 && set->getDisposal(i) == BufferedImageSet::kDisposeUnspecified;
    frame.disposal = unspecified ? BufferedImageSet::kDisposeUnspecified : BufferedImageSet::kDisposeKeep;
    frame.delay = set->getDelay(i);
    screen = std::move(viewed);
  }
  return !frames_.empty();
}

}  // namespace s::image::gif::win
