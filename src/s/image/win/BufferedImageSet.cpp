#include "s/image/win/BufferedImageSet.h"

#include <algorithm>
#include <cstring>

#include "s/image/NearestImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::win {

namespace {

// The area clipped to a picture of width x height; empty when they do not meet.
// 64-bit edges: left + width cannot wrap.
FrameArea clipped(const FrameArea& area, int width, int height) {
  const int64_t left = std::clamp<int64_t>(area.left, 0, width);
  const int64_t top = std::clamp<int64_t>(area.top, 0, height);
  const int64_t right = std::clamp<int64_t>(static_cast<int64_t>(area.left) + area.width, left, width);
  const int64_t bottom = std::clamp<int64_t>(static_cast<int64_t>(area.top) + area.height, top, height);
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

// The area of a fromWidth x fromHeight picture on the same picture resized to
// toWidth x toHeight, its edges rounded outwards so that it still holds every pixel
// the frame touched. Products of two picture sizes fit in 64 bits.
FrameArea resized(const FrameArea& area, int fromWidth, int fromHeight, int toWidth, int toHeight) {
  if (fromWidth == toWidth && fromHeight == toHeight) return area;
  if (fromWidth <= 0 || fromHeight <= 0) return {0, 0, toWidth, toHeight};
  auto down = [](int64_t edge, int from, int to) { return edge * to / from; };
  auto up = [](int64_t edge, int from, int to) { return (edge * to + from - 1) / from; };
  const int64_t left = down(area.left, fromWidth, toWidth);
  const int64_t top = down(area.top, fromHeight, toHeight);
  const int64_t right = up(static_cast<int64_t>(area.left) + area.width, fromWidth, toWidth);
  const int64_t bottom = up(static_cast<int64_t>(area.top) + area.height, fromHeight, toHeight);
  return clipped({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top)},
                 toWidth, toHeight);
}

// Sets every pixel of the area (within the picture) to transparent black.
void clearArea(BufferedImage* image, const FrameArea& area) {
  const FrameArea inside = clipped(area, image->getWidth(), image->getHeight());
  for (int y = inside.top; y < inside.top + inside.height; ++y)
    std::memset(image->getLine(y) + static_cast<size_t>(inside.left) * 4, 0, static_cast<size_t>(inside.width) * 4);
}

}  // namespace

void BufferedImageSet::add(BufferedImage* image, int depth, int delay, int disposal) {
  if (!image) return;
  add(image, depth, delay, disposal, {0, 0, image->getWidth(), image->getHeight()});
}

void BufferedImageSet::add(BufferedImage* image, int depth, int delay, int disposal, const FrameArea& area) {
  if (!image) return;
  const int64_t pixels = static_cast<int64_t>(image->getWidth()) * image->getHeight();
  const int64_t primaryPixels = static_cast<int64_t>(primaryWidth_) * primaryHeight_;
  if (pixels > primaryPixels || (pixels == primaryPixels && depth > primaryDepth_)) {
    primaryWidth_ = image->getWidth();
    primaryHeight_ = image->getHeight();
    primaryDepth_ = depth;
    primaryIndex_ = getCount();
  }
  images_.push_back(image);
  depths_.push_back(depth);
  delays_.push_back(delay);
  disposals_.push_back(disposal);
  areas_.push_back(clipped(area, image->getWidth(), image->getHeight()));
}

BufferedImageSet* BufferedImageSet::addImage(BufferedImage* image) {
  add(image, 32, 0, 0);
  return this;
}

int BufferedImageSet::recomputePrimarySize() {
  primaryWidth_ = primaryHeight_ = 0;
  int64_t bestArea = -1;
  for (BufferedImage* image : images_) {
    const BufferedImage* measured = image->hasFilters() ? image->getFiltered() : image;
    if (!measured) continue;
    const int64_t area = static_cast<int64_t>(measured->getWidth()) * measured->getHeight();
    if (area > bestArea) {
      bestArea = area;
      primaryWidth_ = measured->getWidth();
      primaryHeight_ = measured->getHeight();
    }
  }
  return getCount();
}

void BufferedImageSet::setAnimation(bool animated, int16_t loopCount) {
  animated_ = animated;
  loopCount_ = loopCount;
}

int BufferedImageSet::getDelay(int index) const {
  return index >= 0 && index < getCount() ? delays_[static_cast<size_t>(index)] : kNoValue;
}

int BufferedImageSet::getDisposal(int index) const {
  return index >= 0 && index < getCount() ? disposals_[static_cast<size_t>(index)] : kNoValue;
}

BufferedImage* BufferedImageSet::getPrimary() const {
  return primaryIndex_ < getCount() ? images_[static_cast<size_t>(primaryIndex_)] : nullptr;
}

template <class Copy>
thread::Owned<BufferedImageSet> BufferedImageSet::mapSet(Copy copy) const {
  thread::Owned<BufferedImageSet> set(create());
  for (size_t i = 0; i < images_.size(); ++i) {
    BufferedImage* image = copy(images_[i]);
    const FrameArea area = resized(areas_[i], images_[i]->getWidth(), images_[i]->getHeight(), image->getWidth(),
                                   image->getHeight());
    set->add(image, depths_[i], delays_[i], disposals_[i], area);
  }
  set->setAnimation(animated_, loopCount_);
  set->profile_ = profile_;
  return set;
}

thread::Owned<BufferedImageSet> BufferedImageSet::copySet() const {
  return mapSet([](BufferedImage* image) { return image->copyTo(nullptr); });
}

thread::Owned<BufferedImageSet> BufferedImageSet::scaledSet(int width, int height, bool keepRatio) const {
  return mapSet([=](BufferedImage* image) { return image->scaledCopy(width, height, keepRatio)->copyTo(nullptr); });
}

thread::Owned<BufferedImageSet> BufferedImageSet::filteredSet() const {
  return mapSet([](BufferedImage* image) {
    BufferedImage* filtered = image->hasFilters() ? image->applyFilters() : image;
    // A chain that gave no result contributes an empty picture, keeping the
    // set's indices in step with this one.
    return filtered ? filtered->copyTo(nullptr) : BufferedImage::create();
  });
}

thread::Owned<BufferedImageSet> BufferedImageSet::composeFrames() const {
  thread::Owned<BufferedImageSet> set(create());
  set->setAnimation(true, loopCount_);
  set->profile_ = profile_;
  int width = 0;
  int height = 0;
  for (const BufferedImage* image : images_) {
    width = std::max(width, image->getWidth());
    height = std::max(height, image->getHeight());
  }
  // A canvas that cannot be made leaves every frame empty, keeping the indices.
  thread::Owned<BufferedImage> canvas(BufferedImage::create());
  if (width > 0 && height > 0 && canvas->create(width, height)) BufferedImage::fill(canvas.get(), 0, 0, 0, 0);
  for (size_t i = 0; i < images_.size(); ++i) {
    const FrameArea& area = areas_[i];
    thread::Owned<BufferedImage> before;
    if (disposals_[i] == kDisposeRestore) before.reset(canvas->copyTo(nullptr));
    canvas->drawArea(area.left, area.top, area.width, area.height, images_[i]);
    BufferedImage* frame = canvas->copyTo(nullptr);
    BufferedImage::detectAlpha(frame);
    set->add(frame, depths_[i], delays_[i], disposals_[i]);
    if (disposals_[i] == kDisposeClear) {
      clearArea(canvas.get(), area);
    } else if (disposals_[i] == kDisposeRestore) {
      canvas = std::move(before);
    }
  }
  // Each new frame covers the canvas, so only transparency decides how the next
  // one can be drawn over it.
  for (size_t i = 0; i < set->images_.size(); ++i) {
    const bool clearFirst =
        i + 1 < set->images_.size() && BufferedImage::hidesTransparency(set->images_[i + 1], set->images_[i], 1);
    set->disposals_[i] =
        clearFirst ? kDisposeClear : (disposals_[i] == kDisposeUnspecified ? kDisposeUnspecified : kDisposeKeep);
  }
  return set;
}

namespace {

NearestImage::Candidate describe(const void* owner, int index) {
  const auto* set = static_cast<const BufferedImageSet*>(owner);
  const BufferedImage* image = set->getImage(index);
  return {image->getWidth(), image->getHeight(), set->getDepth(index)};
}

}  // namespace

bool BufferedImageSet::findImage(int width, int height, int depth, int* index) const {
  return NearestImage::findExact(this, getCount(), describe, width, height, depth, index);
}

bool BufferedImageSet::findNearestByDepth(int width, int height, int depth, int* index) const {
  return NearestImage::findByDepth(this, getCount(), describe, width, height, depth, index);
}

bool BufferedImageSet::findNearestBySize(int width, int height, int depth, int* index) const {
  return NearestImage::findBySize(this, getCount(), describe, width, height, depth, index);
}

void BufferedImageSet::clearPrimary() {
  animated_ = false;
  primaryWidth_ = primaryHeight_ = primaryDepth_ = primaryIndex_ = 0;
}

void BufferedImageSet::removeAll() {
  clearPrimary();
  images_.clear();
  depths_.clear();
  delays_.clear();
  disposals_.clear();
  areas_.clear();
}

void BufferedImageSet::clear() {
  for (BufferedImage* image : images_) image->release();
  removeAll();
  loopCount_ = 1;
  profile_ = ColourProfile();
}

}  // namespace s::image::win
