#pragma once
// The size request of a gallery run and the rule that turns a scale request and a
// source size into a target size.
//
// The owner resets a Sizer, sets the request fields, calls buildSizes once, and then
// asks, for each size index (0 .. getSizeCount() - 1) and source picture, whether
// the size applies and for a scale filter carrying it. A source is anything with
// getWidth() and getHeight(), or its two sizes.
//
// Sizes multiplied by percentages are computed in 64 bits and clamped to the int
// range, so no request overflows.
#include <vector>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::image::filters::scale {
class ScaleFilter;
}

namespace s::image::util {

struct TargetSize {
  int width = 1;
  int height = 1;
  bool operator==(const TargetSize&) const = default;
};

class SizerBase : public base::IObject, public thread::IPoolable {};

class Sizer final : public thread::PooledObject<Sizer, SizerBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_util_Sizer";

  enum Mode : int { kModeSeries = 1, kModeSingle = 2 };
  // Series of percentages: 1 = from -range to +range, 2 = shrink steps, 3 = enlarge
  // steps. Pixel sizes and single percentages: 2 = never larger than the source,
  // 3 = never smaller, anything else = no limit.
  enum LimitPolicy : int { kLimitRange = 1, kLimitShrink = 2, kLimitEnlarge = 3 };

  // The request (defaults as after reset).
  int mode = kModeSingle;
  int limitPolicy = kLimitRange;
  int stepCount = 10;
  bool seriesAbsolute = false;  // a series of pixel sizes, else of percentage changes
  int percentRange = 100;
  bool absolute = true;  // single size in pixels, else in percent
  int width = 800;
  int height = 600;
  int widthPercent = 200;
  int heightPercent = 200;
  bool keepRatio = true;

  // Empties the lists and fills them from the request.
  void buildSizes();
  int getSizeCount() const;

  // Whether size `index` is produced for the source. Indices outside the built
  // lists and empty sources are never applicable.
  bool isApplicable(int index, int sourceWidth, int sourceHeight) const;
  template <class Source>
  bool isApplicable(int index, const Source& source) const {
    return isApplicable(index, source.getWidth(), source.getHeight());
  }

  // A new scale filter (auto-release; the caller or the image it is attached to
  // releases it) for size `index` and the source, or none for an index outside the
  // built lists.
  filters::scale::ScaleFilter* makeScaleFilter(int index, int sourceWidth, int sourceHeight) const;
  template <class Source>
  filters::scale::ScaleFilter* makeScaleFilter(int index, const Source& source) const {
    return makeScaleFilter(index, source.getWidth(), source.getHeight());
  }

  // A scale filter from its pool with this request and the bilinear kernel; the other
  // fields keep their reset values (no canvas, scale both ways, auto-release).
  static filters::scale::ScaleFilter* newScaleFilter(bool absolute, bool keepRatio, int width, int height);

  // The pixel size the filter's request gives for a source of sourceWidth x
  // sourceHeight: percentages taken of the source, then, with keepRatio, the largest
  // size of the source's proportions inside that box (the binding side keeps its
  // value); a side of 0 or less becomes 1.
  static TargetSize computeTargetSize(const filters::scale::ScaleFilter& request, int sourceWidth, int sourceHeight);

  const std::vector<int>& getWidths() const { return widths_; }
  const std::vector<int>& getHeights() const { return heights_; }
  const std::vector<int>& getWidthPercents() const { return widthPercents_; }
  const std::vector<int>& getHeightPercents() const { return heightPercents_; }

  void reset() override;

 private:
  bool isSeries() const { return mode == kModeSeries; }
  bool hasEntry(int index) const;

  std::vector<int> widths_;
  std::vector<int> heights_;
  std::vector<int> widthPercents_;
  std::vector<int> heightPercents_;
};

}  // namespace s::image::util
