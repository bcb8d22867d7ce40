#include "s/image/win/BufferedImageSet.h"

#include "s/image/NearestImage.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::win {

void BufferedImageSet::add(BufferedImage* image, int depth, int delay, int disposal) {
  if (!image) return;
  const int64_t area = static_cast<int64_t>(image->getWidth()) * image->getHeight();
  const int64_t primaryArea = static_cast<int64_t>(primaryWidth_) * primaryHeight_;
  if (area > primaryArea || (area == primaryArea && depth > primaryDepth_)) {
    primaryWidth_ = image->getWidth();
    primaryHeight_ = image->getHeight();
    primaryDepth_ = depth;
    primaryIndex_ = getCount();
  }
  images_.push_back(image);
  depths_.push_back(depth);
  delays_.push_back(delay);
  disposals_.push_back(disposal);
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
BufferedImageSet* BufferedImageSet::mapSet(Copy copy) const {
  BufferedImageSet* set = create();
  for (size_t i = 0; i < images_.size(); ++i) set->add(copy(images_[i]), depths_[i], delays_[i], disposals_[i]);
  set->setAnimation(animated_, loopCount_);
  return set;
}

BufferedImageSet* BufferedImageSet::copySet() const {
  return mapSet([](BufferedImage* image) { return image->copyTo(nullptr); });
}

BufferedImageSet* BufferedImageSet::scaledSet(int width, int height, bool keepRatio) const {
  return mapSet([=](BufferedImage* image) { return image->scaledCopy(width, height, keepRatio)->copyTo(nullptr); });
}

BufferedImageSet* BufferedImageSet::filteredSet() const {
  return mapSet([](BufferedImage* image) {
    BufferedImage* filtered = image->hasFilters() ? image->applyFilters() : image;
    // A chain that gave no result contributes an empty picture, keeping the
    // set's indices in step with this one.
    return filtered ? filtered->copyTo(nullptr) : BufferedImage::create();
  });
}

BufferedImageSet* BufferedImageSet::composeFrames() const {
  BufferedImageSet* set = create();
  BufferedImage* previous = nullptr;
  for (size_t i = 0; i < images_.size(); ++i) {
    BufferedImage* frame = images_[i]->copyTo(nullptr);
    int disposal = disposals_[i];
    if (i > 0 && disposal == 1 && previous) {
      // Drawn over the previous frame: the composed picture replaces the frame.
      BufferedImage* composed = previous->copyTo(nullptr);
      composed->drawImage(0, 0, frame->getWidth(), frame->getHeight(), frame, 0, 0, false);
      frame->release();
      frame = composed;
      disposal = 2;
    }
    set->add(frame, depths_[i], delays_[i], disposal);
    previous = frame;
  }
  set->setAnimation(true, loopCount_);
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
}

void BufferedImageSet::clear() {
  for (BufferedImage* image : images_) image->release();
  removeAll();
  loopCount_ = 1;
}

}  // namespace s::image::win
