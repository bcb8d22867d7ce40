#pragma once
// An ordered set of pixel images that owns its images: the pictures of an icon
// file or the frames of an animation, with per-image file depth, frame delay and
// disposal. The primary image is the largest by area, then by depth, then the
// first added.
//
// Every image also carries its frame area: the rectangle of the picture that the
// frame itself draws. The GIF codec hands over frames on a common canvas, each
// covering only its own rectangle; pictures added without an area cover all of
// themselves. composeFrames uses the areas and the disposals as GIF89a does.
//
// The set also carries the colour profile of the file its pictures came from (or
// none); the sets made from it (copies, scaled, filtered, composed) carry it on.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/image/ColourProfile.h"
#include "s/image/IBufferedImageSet.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::win {

class BufferedImage;

// A rectangle of a picture, in pixels from its top-left corner.
struct FrameArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const FrameArea&) const = default;
};

class BufferedImageSet final : public thread::PooledObject<BufferedImageSet, IBufferedImageSet> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_win_BufferedImageSet";
  // Answered by getDelay/getDisposal for an index past the end.
  static constexpr int kNoValue = 1000;
  // Disposal methods of animation frames, as GIF89a numbers them: what becomes of
  // the frame's area before the next frame is drawn. Other values keep it.
  static constexpr int kDisposeUnspecified = 0;  // kept
  static constexpr int kDisposeKeep = 1;
  static constexpr int kDisposeClear = 2;    // cleared to transparent
  static constexpr int kDisposeRestore = 3;  // restored to the canvas before the frame

  BufferedImageSet() = default;
  BufferedImageSet(const BufferedImageSet&) = delete;
  BufferedImageSet& operator=(const BufferedImageSet&) = delete;

  void reset() override { clear(); }

  int getWidth() const override { return primaryWidth_; }
  int getHeight() const override { return primaryHeight_; }
  int getCount() const override { return static_cast<int>(images_.size()); }
  // The frame area is the whole picture.
  void add(BufferedImage* image, int depth, int delay, int disposal) override;
  // With the part of the picture the frame draws (clipped to the picture).
  void add(BufferedImage* image, int depth, int delay, int disposal, const FrameArea& area);
  int recomputePrimarySize() override;
  bool isAnimated() const override { return animated_; }
  int16_t getLoopCount() const override { return loopCount_; }
  void setAnimation(bool animated, int16_t loopCount) override;
  int getDelay(int index) const override;
  int getDisposal(int index) const override;
  thread::Owned<BufferedImageSet> copySet() const override;
  // Full frames as a viewer shows them, on a canvas of the largest width and height
  // that starts transparent: frame i is drawn over the canvas within its area, the
  // picture is taken, then frame i's disposal applies (0, 1 and 4-7 keep the
  // canvas, 2 clears the area to transparent, 3 restores the canvas as it was
  // before frame i). The new frames cover the canvas; each keeps its delay and
  // depth, and its disposal says how the next frame can be shown: 2 when the next
  // one is transparent where this one is not, else 0 or 1 (this frame's own when it
  // was one of them, 1 otherwise). The result is marked animated with the loop
  // count.
  thread::Owned<BufferedImageSet> composeFrames() const override;
  thread::Owned<BufferedImageSet> scaledSet(int width, int height, bool keepRatio) const override;
  thread::Owned<BufferedImageSet> filteredSet() const override;
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
  FrameArea getFrameArea(int index) const { return areas_[static_cast<size_t>(index)]; }
  int getPrimaryDepth() const { return primaryDepth_; }
  const ColourProfile& getColourProfile() const { return profile_; }
  void setColourProfile(const ColourProfile& profile) { profile_ = profile; }

 private:
  void clearPrimary();
  // A new set holding, for every image, copy(image) with this set's values.
  template <class Copy>
  thread::Owned<BufferedImageSet> mapSet(Copy copy) const;

  std::vector<BufferedImage*> images_;
  std::vector<int> depths_;
  std::vector<int> delays_;
  std::vector<int> disposals_;
  std::vector<FrameArea> areas_;
  bool animated_ = false;
  int16_t loopCount_ = 1;
  int primaryWidth_ = 0;
  int primaryHeight_ = 0;
  int primaryDepth_ = 0;
  int primaryIndex_ = 0;
  ColourProfile profile_;
};

}  // namespace s::image::win
