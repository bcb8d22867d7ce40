#pragma once
// A 3 x 3 integer convolution of 32-bit pixels (bytes blue, green, red, alpha), applied
// in place.
//
// The nine weights k0..k8 are the neighbourhood in reading order (k0 above-left, k4
// the centre, k8 below-right); the divisor is their sum. Rows are filtered from the
// top, pixels from the left, and every tap reads the picture as it is at that moment:
// the row above and the pixel to the left are already filtered, the centre, the pixel
// to the right and the row below are not. A tap outside the picture reads the nearest
// pixel inside. Each channel (alpha included) is the 32-bit sum of weight x value,
// divided by the divisor (truncating toward zero) unless that is 1, and clamped to
// 0..255. A divisor of 0 is taken as 1.
//
// The scalar reference loop is always there. Kernels whose sums can never overflow
// (every weight within +-32767, divisor within +-65535), on pictures of at least
// 3 x 3, run the inner rows through a faster path that gives the same bytes: the
// eight taps that do not depend on the pixel to the left are summed with vector
// instructions (SSE2 or AVX2), then one pass along the row adds the left tap and
// divides by a reciprocal multiplication that is exact over the range that survives
// the clamp (the four channels of a pixel together).
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::image::filters::convolution {

class ConvolutionBase : public base::IObject, public thread::IPoolable {};

class Convolution final : public thread::PooledObject<Convolution, ConvolutionBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_convolution_Convolution";
  static constexpr int kTaps = 9;

  // The identity: k4 = 1, divisor 1.
  Convolution();

  // A convolution from the pool with these weights and their sum as divisor.
  static Convolution* newConvolution(int32_t k0, int32_t k1, int32_t k2, int32_t k3, int32_t k4, int32_t k5,
                                     int32_t k6, int32_t k7, int32_t k8);

  // Stores the weights; the divisor becomes their (32-bit, wrapping) sum.
  void setWeights(const int32_t (&weights)[kTaps]);
  int32_t getWeight(int tap) const { return weights_[tap]; }
  int32_t getDivisor() const { return divisor_; }

  // Filters the picture in place. rows[y] is row y counted from the top, width x 4
  // bytes each.
  void convolve(uint8_t* const* rows, int width, int height) const;
  // The scalar reference loop alone, for comparisons.
  void convolveReference(uint8_t* const* rows, int width, int height) const;

  void reset() override;

 private:
  // Whether the faster path gives exactly the reference's bytes for these weights.
  bool hasBoundedSums() const;

  int32_t weights_[kTaps];
  int32_t divisor_;
};

}  // namespace s::image::filters::convolution
