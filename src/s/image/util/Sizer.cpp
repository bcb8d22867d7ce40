#include "s/image/util/Sizer.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "s/image/filters/scale/ScaleFilter.h"

namespace s::image::util {

using filters::scale::ScaleFilter;

namespace {

int clampToInt(int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// size x percent / 100, truncated toward zero, without overflow.
int64_t percentOf(int size, int64_t percent) { return static_cast<int64_t>(size) * percent / 100; }

int limitToSource(int size, int sourceSize, int limitPolicy) {
  if (limitPolicy == Sizer::kLimitShrink) return size < sourceSize ? size : sourceSize;
  if (limitPolicy == Sizer::kLimitEnlarge) return size > sourceSize ? size : sourceSize;
  return size;
}

// Percentages: never above 100 (shrink) or never below (enlarge).
int limitPercent(int percent, int limitPolicy) {
  if (limitPolicy == Sizer::kLimitShrink && percent > 100) return 100;
  if (limitPolicy == Sizer::kLimitEnlarge && percent < 100) return 100;
  return percent;
}

}  // namespace

void Sizer::reset() {
  mode = kModeSingle;
  limitPolicy = kLimitRange;
  stepCount = 10;
  seriesAbsolute = false;
  percentRange = 100;
  absolute = true;
  width = 800;
  height = 600;
  widthPercent = 200;
  heightPercent = 200;
  keepRatio = true;
  // Reset frees the lists' storage, not only their contents.
  std::vector<int>().swap(widths_);
  std::vector<int>().swap(heights_);
  std::vector<int>().swap(widthPercents_);
  std::vector<int>().swap(heightPercents_);
}

void Sizer::buildSizes() {
  widths_.clear();
  heights_.clear();
  widthPercents_.clear();
  heightPercents_.clear();

  if (!isSeries()) {
    if (absolute) {
      widths_.push_back(width);
      heights_.push_back(height);
    } else {
      widthPercents_.push_back(widthPercent);
      heightPercents_.push_back(heightPercent);
    }
    return;
  }

  if (seriesAbsolute) {
    // Square boxes: the two ends first, then the steps between them.
    auto add = [this](int size) {
      widths_.push_back(size);
      heights_.push_back(size);
    };
    add(32);
    add(1200);
    for (int i = 2; i <= stepCount - 1; ++i) add(static_cast<int>(1168.0 / (stepCount - 1) * (i - 1)) + 32);
    return;
  }

  auto add = [this](int64_t change) {
    widthPercents_.push_back(clampToInt(change));
    heightPercents_.push_back(clampToInt(change));
  };
  const int64_t range = percentRange;
  const int steps = stepCount;
  switch (limitPolicy) {
    case kLimitRange:
      add(-range);
      add(range);
      for (int i = 2; i <= steps - 1; ++i) {
        add(static_cast<int64_t>(2.0 * static_cast<double>(range) / (steps - 1) * (i - 1)) - range);
      }
      break;
    case kLimitShrink:
      add(-range);
      for (int i = 1; i <= steps - 1; ++i) add(-static_cast<int64_t>(static_cast<double>(range) / steps * i));
      break;
    case kLimitEnlarge:
      add(range);
      for (int i = 1; i <= steps - 1; ++i) add(static_cast<int64_t>(static_cast<double>(range) / steps * i));
      break;
    default:
      break;  // no sizes
  }
}

int Sizer::getSizeCount() const {
  if (mode == kModeSeries) return static_cast<int>(seriesAbsolute ? widths_.size() : widthPercents_.size());
  if (mode == kModeSingle) return 1;
  return 0;
}

bool Sizer::hasEntry(int index) const {
  if (index < 0) return false;
  const size_t i = static_cast<size_t>(index);
  const bool pixels = isSeries() ? seriesAbsolute : absolute;
  return pixels ? i < widths_.size() && i < heights_.size() : i < widthPercents_.size() && i < heightPercents_.size();
}

bool Sizer::isApplicable(int index, int sourceWidth, int sourceHeight) const {
  if (!hasEntry(index) || sourceWidth <= 0 || sourceHeight <= 0) return false;
  const size_t i = static_cast<size_t>(index);
  if (isSeries() && seriesAbsolute) {
    const int w = widths_[i];
    const int h = heights_[i];
    if (limitPolicy == kLimitShrink) return sourceWidth >= w && sourceHeight >= h;
    if (limitPolicy == kLimitEnlarge) return w >= sourceWidth && h >= sourceHeight;
    return true;
  }
  if (isSeries()) {
    const int wp = widthPercents_[i];
    const int hp = heightPercents_[i];
    return wp >= -98 && hp >= -98 && percentOf(sourceWidth, static_cast<int64_t>(wp) + 100) > 0 &&
           percentOf(sourceHeight, static_cast<int64_t>(hp) + 100) > 0;
  }
  if (!absolute) {
    const int wp = widthPercents_[i];
    const int hp = heightPercents_[i];
    return wp > 0 && hp > 0 && percentOf(sourceWidth, wp) > 0 && percentOf(sourceHeight, hp) > 0;
  }
  return widths_[i] > 0 && heights_[i] > 0;
}

ScaleFilter* Sizer::makeScaleFilter(int index, int sourceWidth, int sourceHeight) const {
  if (!hasEntry(index)) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (isSeries() && seriesAbsolute) {
    return newScaleFilter(true, true, limitToSource(widths_[i], sourceWidth, limitPolicy),
                          limitToSource(heights_[i], sourceHeight, limitPolicy));
  }
  if (isSeries()) {
    // Changes become percentages of the source: -20 means 80 %.
    const int w = clampToInt(static_cast<int64_t>(widthPercents_[i]) + 100);
    const int h = clampToInt(static_cast<int64_t>(heightPercents_[i]) + 100);
    return newScaleFilter(false, true, limitPercent(w, limitPolicy), limitPercent(h, limitPolicy));
  }
  if (absolute) {
    return newScaleFilter(true, keepRatio, limitToSource(widths_[i], sourceWidth, limitPolicy),
                          limitToSource(heights_[i], sourceHeight, limitPolicy));
  }
  return newScaleFilter(false, keepRatio, limitPercent(widthPercents_[i], limitPolicy),
                        limitPercent(heightPercents_[i], limitPolicy));
}

ScaleFilter* Sizer::newScaleFilter(bool absolute, bool keepRatio, int width, int height) {
  ScaleFilter* filter = ScaleFilter::create();
  filter->keepRatio = keepRatio;
  filter->widthAbsolute = absolute;
  filter->heightAbsolute = absolute;
  filter->width = width;
  filter->height = height;
  filter->kernelKind = filters::scale::kKernelBilinear;
  return filter;
}

TargetSize Sizer::computeTargetSize(const ScaleFilter& request, int sourceWidth, int sourceHeight) {
  int64_t w = request.widthAbsolute ? request.width : percentOf(sourceWidth, request.width);
  int64_t h = request.heightAbsolute ? request.height : percentOf(sourceHeight, request.height);
  w = clampToInt(w);
  h = clampToInt(h);
  // An empty source has no proportions to keep.
  if (request.keepRatio && sourceWidth > 0 && sourceHeight > 0) {
    const double widthRatio = static_cast<double>(w) / sourceWidth;
    const double heightRatio = static_cast<double>(h) / sourceHeight;
    // The products stay within +-2^62, so the conversions are defined.
    if (widthRatio < heightRatio) {
      h = clampToInt(static_cast<int64_t>(sourceHeight * widthRatio));
    } else if (heightRatio < widthRatio) {
      w = clampToInt(static_cast<int64_t>(sourceWidth * heightRatio));
    }
  }
  TargetSize size;
  size.width = w > 0 ? static_cast<int>(w) : 1;
  size.height = h > 0 ? static_cast<int>(h) : 1;
  return size;
}

}  // namespace s::image::util
