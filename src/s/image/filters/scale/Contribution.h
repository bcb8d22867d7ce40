#pragma once
// The table of weights for scaling one line of pixels: for every output position,
// the run of input taps [first, last] and their weights in 16.16 fixed point
// (65536 = 1.0). A two-pass resampler computes one table per pass and filters every
// row (or column) of that pass with it.
//
// Entry i is stored as 32-bit integers: first, last, then `window` weights, of which
// the first (last - first + 1) are meaningful and the rest are 0.
#include <cstddef>
#include <cstdint>

#include "s/base/IObject.h"
#include "s/image/filters/scale/IScaleFilter.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::image::filters::scale {

class ContributionBase : public base::IObject, public thread::IPoolable {};

class Contribution final : public thread::PooledObject<Contribution, ContributionBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_scale_Contribution";

  Contribution() = default;
  ~Contribution() override;
  Contribution(const Contribution&) = delete;
  Contribution& operator=(const Contribution&) = delete;

  // Fills the table for scaling a line of inputLength pixels to outputLength pixels
  // at the given scale (outputLength / inputLength). Refuses (and empties the table)
  // when a length is not positive or the scale is not a positive number.
  bool compute(const IScaleFilter& kernel, int outputLength, int inputLength, double scale);

  int getEntryCount() const { return entryCount_; }
  int getWindow() const { return window_; }
  // Bytes per entry: 4 x window + 8.
  size_t getEntrySize() const { return (static_cast<size_t>(window_) + 2) * 4; }

  int first(int i) const { return entry(i)[0]; }
  int last(int i) const { return entry(i)[1]; }
  const int32_t* weights(int i) const { return entry(i) + 2; }

  void reset() override;

 private:
  const int32_t* entry(int i) const { return entries_ + static_cast<size_t>(i) * (static_cast<size_t>(window_) + 2); }
  int32_t* entry(int i) { return entries_ + static_cast<size_t>(i) * (static_cast<size_t>(window_) + 2); }
  void reserve(size_t entryInts, size_t rawWeights);

  int entryCount_ = 0;
  int window_ = 0;
  int32_t* entries_ = nullptr;
  size_t entriesCapacity_ = 0;  // in 32-bit integers
  double* raw_ = nullptr;       // scratch: the unnormalised weights of one entry
  size_t rawCapacity_ = 0;
};

}  // namespace s::image::filters::scale
