#include "s/image/gif/win/Gif.h"

#include <algorithm>

#include "s/image/NearestImage.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gif::win {

using bmp::win::Bitmap;
using image::win::BufferedImage;
using image::win::BufferedImageSet;

Gif::Gif() = default;

Gif::~Gif() { dropFrames(); }

void Gif::reset() {
  dropFrames();
  lzw_.reset();
  loopCount_ = 1;
  bitDepth_ = 0;
  interlaced_ = false;
  screenWidth_ = 0;
  screenHeight_ = 0;
}

void Gif::dropFrames() { frames_.clear(); }

GifFrame* Gif::addFrame(int width, int height) {
  thread::Owned<Bitmap> raster = thread::make<Bitmap>();
  if (!raster->create(width, height, 8)) return nullptr;
  GifFrame frame;
  frame.raster = std::move(raster);
  frames_.push_back(std::move(frame));
  return &frames_.back();
}

void Gif::setFrameValues(int index, int transparentIndex, int delay, int disposal) {
  if (index < 0 || index >= getFrameCount()) return;
  GifFrame& frame = frames_[static_cast<size_t>(index)];
  frame.transparentIndex = transparentIndex;
  frame.delay = delay;
  frame.disposal = disposal;
}

void Gif::setFileValues(int screenWidth, int screenHeight, int bitDepth, bool interlaced) {
  screenWidth_ = screenWidth;
  screenHeight_ = screenHeight;
  bitDepth_ = bitDepth;
  interlaced_ = interlaced;
}

int Gif::getWidth() const { return frames_.empty() ? 0 : frames_[0].raster->getWidth(); }

int Gif::getHeight() const { return frames_.empty() ? 0 : frames_[0].raster->getHeight(); }

bool Gif::create(int width, int height, int bitCount) {
  dropFrames();
  if (bitCount < 1 || bitCount > 8) return false;
  return addFrame(width, height) != nullptr;
}

bool Gif::copyFromHandle(BitmapHandle bitmap) {
  thread::Owned<Bitmap> copy = thread::make<Bitmap>();
  if (!copy->copyFromHandle(bitmap)) return false;
  // Frames are 8-bit: any other depth goes through the pixel image and the quantizer.
  if (copy->getBitCount() != 8) {
    thread::Owned<BufferedImage> picture(copy->toBufferedImage(0, nullptr));
    thread::Owned<Bitmap> indexed = thread::make<Bitmap>();
    if (!indexed->fromBufferedImage(picture.get(), 8, false, 255, 255, 255)) return false;
    copy = std::move(indexed);
  }
  if (frames_.size() == 1) {
    frames_[0].raster = std::move(copy);
    return true;
  }
  dropFrames();
  GifFrame frame;
  frame.raster = std::move(copy);
  frames_.push_back(std::move(frame));
  return true;
}

bool Gif::drawToHandle(BitmapHandle bitmap) const {
  return !frames_.empty() && frames_[0].raster->drawToHandle(bitmap);
}

int Gif::getBitCount() const { return frames_.empty() ? 0 : frames_[0].raster->getBitCount(); }

int Gif::getStride() const { return frames_.empty() ? 0 : frames_[0].raster->getStride(); }

bool Gif::hasAlphaChannel() const { return !frames_.empty() && frames_[0].raster->hasAlphaChannel(); }

bool Gif::hasPalette() const { return !frames_.empty() && frames_[0].raster->hasPalette(); }

int Gif::getPaletteCount() const { return frames_.empty() ? 0 : frames_[0].raster->getPaletteCount(); }

int Gif::getPaletteSize() const { return frames_.empty() ? 0 : frames_[0].raster->getPaletteSize(); }

bool Gif::hasTransparency() const {
  return std::any_of(frames_.begin(), frames_.end(),
                     [](const GifFrame& frame) { return frame.transparentIndex != -1; });
}

thread::Owned<IEncodedImage> Gif::createLike(IImage* imageOrSet) {
  auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet);
  if (!set) return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
  if (set->getCount() <= 1 || !set->isAnimated()) return createLike(set->getPrimary());
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  // A GIF without any colour table has the 8-bit gray ramp.
  setting->bitsPerPixel = bitDepth_ > 0 ? bitDepth_ : 8;
  return setting->encodeImageSet(set);
}

thread::Owned<IEncodedImage> Gif::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->bitsPerPixel = bitDepth_ > 0 ? bitDepth_ : 8;
  return setting->encodeImage(image);
}

namespace {

NearestImage::Candidate describe(const void* owner, int index) {
  const auto* gif = static_cast<const Gif*>(owner);
  const Bitmap* raster = gif->getFrameRaster(index);
  return {raster->getWidth(), raster->getHeight(), raster->getBitCount()};
}

}  // namespace

bool Gif::findExactImage(int width, int height, int depth, int* index) const {
  return NearestImage::findExact(this, getFrameCount(), describe, width, height, depth, index);
}

bool Gif::findNearestByDepth(int width, int height, int depth, int* index) const {
  return NearestImage::findByDepth(this, getFrameCount(), describe, width, height, depth, index);
}

bool Gif::findNearestBySize(int width, int height, int depth, int* index) const {
  return NearestImage::findBySize(this, getFrameCount(), describe, width, height, depth, index);
}

void Gif::canvasSize(int* width, int* height, bool* placed) const {
  // Frames that all cover the logical screen (or a file without one) keep the plain
  // rule: the largest frame is the canvas and smaller frames are centred.
  bool allCover = true;
  int largestWidth = 0;
  int largestHeight = 0;
  for (const GifFrame& frame : frames_) {
    const int frameWidth = frame.raster->getWidth();
    const int frameHeight = frame.raster->getHeight();
    largestWidth = std::max(largestWidth, frameWidth);
    largestHeight = std::max(largestHeight, frameHeight);
    // 64-bit: left + width may pass INT32_MAX only in theory, but stays honest.
    if (frame.left > 0 || frame.top > 0 || static_cast<int64_t>(frame.left) + frameWidth < screenWidth_ ||
        static_cast<int64_t>(frame.top) + frameHeight < screenHeight_)
      allCover = false;
  }
  *placed = !allCover && screenWidth_ > 0 && screenHeight_ > 0;
  *width = *placed ? screenWidth_ : largestWidth;
  *height = *placed ? screenHeight_ : largestHeight;
}

}  // namespace s::image::gif::win
