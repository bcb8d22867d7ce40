#include "s/image/filters/scale/Contribution.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"

namespace s::image::filters::scale {

Contribution::~Contribution() {
  std::free(entries_);
  std::free(raw_);
}

void Contribution::reset() {
  std::free(entries_);
  std::free(raw_);
  entries_ = nullptr;
  raw_ = nullptr;
  entriesCapacity_ = 0;
  rawCapacity_ = 0;
  entryCount_ = 0;
  window_ = 0;
}

void Contribution::reserve(size_t entryInts, size_t rawWeights) {
  if (entryInts > entriesCapacity_) {
    size_t bytes;
    if (!base::checkedMul(entryInts, sizeof(int32_t), &bytes)) base::dieOutOfMemory(SIZE_MAX);
    std::free(entries_);  // the old entries are not needed
    entries_ = static_cast<int32_t*>(base::allocOrDie(bytes));
    entriesCapacity_ = entryInts;
  }
  if (rawWeights > rawCapacity_) {
    size_t bytes;
    if (!base::checkedMul(rawWeights, sizeof(double), &bytes)) base::dieOutOfMemory(SIZE_MAX);
    std::free(raw_);
    raw_ = static_cast<double*>(base::allocOrDie(bytes));
    rawCapacity_ = rawWeights;
  }
}

bool Contribution::compute(const IScaleFilter& kernel, int outputLength, int inputLength, double scale) {
  entryCount_ = 0;
  window_ = 0;
  if (outputLength <= 0 || inputLength <= 0 || !(scale > 0.0)) return false;
  const int n = outputLength;
  const int m = inputLength;

  // Shrinking widens the kernel by 1 / scale and flattens it by scale, so that each
  // output pixel averages all the input pixels it covers.
  const double support = kernel.getSupport();
  double width = support;
  double factor = 1.0;
  if (scale < 1.0) {
    width = support / scale;
    factor = scale;
  }
  // No entry can hold more taps than the line has pixels, so the window is capped at
  // the input length; below the cap it is 2 x ceil(width) + 1 as usual. The cap keeps
  // the table proportional to the line even for extreme reductions.
  double windowWanted = 2.0 * std::trunc(std::ceil(width)) + 1.0;
  int window = !(windowWanted < static_cast<double>(m)) ? m : static_cast<int>(windowWanted);
  if (window < 1) window = 1;
  const size_t stride = static_cast<size_t>(window) + 2;
  size_t entryInts;
  if (!base::checkedMul(stride, static_cast<size_t>(n), &entryInts)) base::dieOutOfMemory(SIZE_MAX);
  reserve(entryInts, static_cast<size_t>(window));
  entryCount_ = n;
  window_ = window;

  for (int i = 0; i < n; ++i) {
    int32_t* out = entry(i);
    // No half-pixel offset: output position 0 sits on input position 0.
    const double center = static_cast<double>(i) / scale;
    const double leftEdge = std::floor(center - width);
    const double rightEdge = std::ceil(center + width);
    int left = leftEdge < 0.0 ? 0 : (leftEdge > m - 1 ? m - 1 : static_cast<int>(leftEdge));
    int right = rightEdge > m - 1 ? m - 1 : (rightEdge < 0.0 ? 0 : static_cast<int>(rightEdge));

    // Only the first contiguous run of positive weights is kept: leading zero taps
    // move `first` on, and the first non-positive tap after the run ends it.
    int first = left;
    int count = 0;
    double sum = 0.0;
    bool positiveSeen = false;
    for (int j = left; j <= right; ++j) {
      double value = kernel.evaluate(factor * (center - j));
      if (value > 0.0) {
        if (count == window) {  // the run outgrew the window: keep what fits
          right = j - 1;
          break;
        }
        double weight = factor * value;
        raw_[count++] = weight;
        sum += weight;
        positiveSeen = true;
      } else if (positiveSeen) {
        right = j - 1;
        break;
      } else {
        first = j + 1;
      }
    }

    int32_t* weightsOut = out + 2;
    std::memset(weightsOut, 0, static_cast<size_t>(window) * sizeof(int32_t));
    if (!positiveSeen) {
      // Past the right edge the last pixel repeats; elsewhere a lone zero-weight tap
      // (a single tap is copied whatever its weight).
      if (right == m - 1) {
        out[0] = out[1] = m - 1;
        weightsOut[0] = 65536;
      } else {
        out[0] = out[1] = left;
      }
      continue;
    }
    out[0] = first;
    out[1] = right;
    if (sum > 0.0) {
      for (int k = 0; k < count; ++k) raw_[k] /= sum;
    }
    // Truncation toward zero: the weights of an entry add up to at most 65536, so a
    // weighted sum of 8-bit values never exceeds 255 after rounding.
    for (int k = 0; k < count; ++k) weightsOut[k] = static_cast<int32_t>(raw_[k] * 65536.0);
  }
  return true;
}

}  // namespace s::image::filters::scale
