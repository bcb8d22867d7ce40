#pragma once
// An ordered set of pixel images with per-image depth, delay and disposal: the
// pictures of a multi-image file or the frames of an animation.
#include <cstdint>

#include "s/image/IImage.h"
#include "s/thread/Owned.h"

namespace s::image {

namespace win {
class BufferedImage;
class BufferedImageSet;
}  // namespace win

class IBufferedImageSet : public IImage {
 public:
  virtual int getCount() const = 0;
  virtual void add(win::BufferedImage* image, int depth, int delay, int disposal) = 0;
  virtual int recomputePrimarySize() = 0;
  virtual bool isAnimated() const = 0;
  virtual int16_t getLoopCount() const = 0;
  virtual void setAnimation(bool animated, int16_t loopCount) = 0;
  // 1000 for an index past the end.
  virtual int getDelay(int index) const = 0;
  virtual int getDisposal(int index) const = 0;
  virtual thread::Owned<win::BufferedImageSet> copySet() const = 0;
  virtual thread::Owned<win::BufferedImageSet> composeFrames() const = 0;
  virtual thread::Owned<win::BufferedImageSet> scaledSet(int width, int height, bool keepRatio) const = 0;
  virtual thread::Owned<win::BufferedImageSet> filteredSet() const = 0;
  virtual int getPrimaryIndex() const = 0;
  virtual win::BufferedImage* getPrimary() const = 0;
  virtual bool findImage(int width, int height, int depth, int* index) const = 0;
  virtual bool findNearestByDepth(int width, int height, int depth, int* index) const = 0;
  virtual bool findNearestBySize(int width, int height, int depth, int* index) const = 0;
  // Empties the set without releasing its images (the caller keeps them).
  virtual void removeAll() = 0;
  // Releases every image and restores the initial state.
  virtual void clear() = 0;
  virtual win::BufferedImage* getImage(int index) const = 0;
  virtual win::BufferedImageSet* addImage(win::BufferedImage* image) = 0;
};

}  // namespace s::image
