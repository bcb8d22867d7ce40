// GIF frames as pixel images.
#include <algorithm>
#include <cstring>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gif::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

namespace {

// Copies the rows of picture unchanged into canvas with its top-left corner at
// (x, y), clipped to the canvas. True when the picture covers the whole canvas.
bool placeRows(BufferedImage* canvas, const BufferedImage* picture, int x, int y) {
  const int64_t fromX = std::max<int64_t>(0, x);
  const int64_t fromY = std::max<int64_t>(0, y);
  const int64_t toX = std::min<int64_t>(canvas->getWidth(), static_cast<int64_t>(x) + picture->getWidth());
  const int64_t toY = std::min<int64_t>(canvas->getHeight(), static_cast<int64_t>(y) + picture->getHeight());
  if (toX <= fromX || toY <= fromY) return false;
  const size_t rowBytes = static_cast<size_t>(toX - fromX) * 4;
  for (int64_t row = fromY; row < toY; ++row) {
    const uint8_t* source = picture->getLine(static_cast<int>(row - y)) + (fromX - x) * 4;
    std::memcpy(canvas->getLine(static_cast<int>(row)) + fromX * 4, source, rowBytes);
  }
  return fromX == 0 && fromY == 0 && toX == canvas->getWidth() && toY == canvas->getHeight();
}

}  // namespace

BufferedImage* Gif::toBufferedImage(int index, BufferedImage* target) {
  if (index < 0 || index >= getFrameCount()) {
    if (!target) return BufferedImage::create();
    target->setSize(0, 0);
    return target;
  }
  const GifFrame& frame = frames_[static_cast<size_t>(index)];
  BufferedImage* image = frame.raster->toBufferedImage(0, target);
  if (frame.transparentIndex < 0 || image->getWidth() == 0) return image;
  const int width = image->getWidth();
  const int height = image->getHeight();
  bool anyTransparent = false;
  for (int y = 0; y < height; ++y) {
    const uint8_t* indices = frame.raster->getRow(y);
    uint8_t* line = image->getLine(y);
    for (int x = 0; x < width; ++x) {
      if (indices[x] != frame.transparentIndex) continue;
      line[4 * x + 3] = 0;
      anyTransparent = true;
    }
  }
  if (anyTransparent) image->setAlpha(true);
  return image;
}

thread::Owned<BufferedImageSet> Gif::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  int canvasWidth = 0;
  int canvasHeight = 0;
  bool placed = false;
  canvasSize(&canvasWidth, &canvasHeight, &placed);
  for (int i = 0; i < getFrameCount(); ++i) {
    const GifFrame& frame = frames_[static_cast<size_t>(i)];
    thread::Owned<BufferedImage> picture(toBufferedImage(i, nullptr));
    const int x = placed ? frame.left : (canvasWidth - picture->getWidth()) / 2;
    const int y = placed ? frame.top : (canvasHeight - picture->getHeight()) / 2;
    const bool asIs = picture->getWidth() == canvasWidth && picture->getHeight() == canvasHeight && x == 0 && y == 0;
    if (!asIs && picture->getWidth() > 0) {
      thread::Owned<BufferedImage> canvas(picture->newImage(canvasWidth, canvasHeight));
      if (canvas->getWidth() == canvasWidth && canvas->getHeight() == canvasHeight) {
        if (placed) {
          // Pixels the frame does not cover are transparent, so a frame drawn over
          // its predecessor leaves the predecessor visible there.
          BufferedImage::fill(canvas.get(), 0, 0, 0, 0);
          const bool covers = placeRows(canvas.get(), picture.get(), x, y);
          canvas->setAlpha(picture->hasAlpha() || !covers);
        } else {
          BufferedImage::fill(canvas.get(), 255, 255, 255, 255);
          placeRows(canvas.get(), picture.get(), x, y);
          canvas->setAlpha(picture->hasAlpha());
        }
      } else {
        canvas->setSize(0, 0);  // the raster was refused: an empty picture keeps the indices in step
      }
      picture = std::move(canvas);
    }
    // A placed frame draws only its own rectangle of the screen; a centred one, with
    // its white border, the whole canvas.
    const image::win::FrameArea area =
        placed ? image::win::FrameArea{x, y, frame.raster->getWidth(), frame.raster->getHeight()}
               : image::win::FrameArea{0, 0, picture->getWidth(), picture->getHeight()};
    set->add(picture.detach(), frame.raster->getBitCount(), frame.delay, frame.disposal, area);
  }
  if (!frames_.empty()) set->setAnimation(true, static_cast<int16_t>(loopCount_));
  return set;
}

}  // namespace s::image::gif::win
