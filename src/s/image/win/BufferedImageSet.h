#pragma once
// An ordered set of pixel images that owns its images: the pictures of an icon
// file or the frames of an animation, with per-image file depth, frame delay and
// disposal. The primary image is the largest by area, then by depth, then the
// first added.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/image/IBufferedImageSet.h"
#include "s/thread/Pool.h"

namespace s::image::win {

class BufferedImage;

class BufferedImageSet final : public thread::PooledObject<BufferedImageSet, IBufferedImageSet> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_win_BufferedImageSet";
  // Answered by getDelay/getDisposal for an index past the end.
  static constexpr int kNoValue = 1000;

  BufferedImageSet() = default;
  BufferedImageSet(const BufferedImageSet&) = delete;
  BufferedImageSet& operator=(const BufferedImageSet&) = delete;

  void reset() override { clear(); }

  int getWidth() const override { return primaryWidth_; }
  int getHeight() const override { return primaryHeight_; }
  int getCount() const override { return static_cast<int>(images_.size()); }
  void add(BufferedImage* image, int depth, int delay, int disposal) override;
  int recomputePrimarySize() override;
  bool isAnimated() const override { return animated_; }
  int16_t getLoopCount() const override { return loopCount_; }
  void setAnimation(bool animated, int16_t loopCount) override;
  int getDelay(int index) const override;
  int getDisposal(int index) const override;
  BufferedImageSet* copySet() const override;
  BufferedImageSet* composeFrames() const override;
  BufferedImageSet* scaledSet(int width, int height, bool keepRatio) const override;
  BufferedImageSet* filteredSet() const override;
  int getPrimaryIndex() const override { return primaryIndex_; }
  BufferedImage* getPrimary() const override;
  bool findImage(int width, int height, int depth, int* index) const override;
  bool findNearestByDepth(int width, int height, int depth, int* index) const override;
  bool findNearestBySize(int width, int height, int depth, int* index) const override;
  void removeAll() override;
  void clear() override;
  BufferedImage* getImage(int index) const override { return images_[static_cast<size_t>(index)]; }
  BufferedImageSet* addImage(BufferedImage* image) override;

  int getDepth(int index) const { return depths_[static_cast<size_t>(index)]; }
  int getPrimaryDepth() const { return primaryDepth_; }

 private:
  void clearPrimary();
  // A new set holding, for every image, copy(image) with this set's values.
  template <class Copy>
  BufferedImageSet* mapSet(Copy copy) const;

  std::vector<BufferedImage*> images_;
  std::vector<int> depths_;
  std::vector<int> delays_;
  std::vector<int> disposals_;
  bool animated_ = false;
  int16_t loopCount_ = 1;
  int primaryWidth_ = 0;
  int primaryHeight_ = 0;
  int primaryDepth_ = 0;
  int primaryIndex_ = 0;
};

}  // namespace s::image::win
