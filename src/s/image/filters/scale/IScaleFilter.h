#pragma once
// A resampling kernel: a weight as a function of the distance (in input pixels,
// already multiplied by the shrink factor) from the centre of an output pixel.
// Every kernel is zero or negative beyond its support; the contribution table
// relies on that to bound its taps.
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::image::filters::scale {

class IScaleFilter : public base::IObject, public thread::IPoolable {
 public:
  virtual double evaluate(double distance) const = 0;
  virtual double getSupport() const = 0;
  virtual void setSupport(double support) = 0;
};

// The kernel kinds a scale filter names.
enum KernelKind : int {
  kKernelBilinear = 1,
  kKernelBox = 2,
  kKernelHamming = 3,
  kKernelBlackman = 4,
  kKernelGaussian = 5,
};

// The constants of the kernels, as doubles.
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kFourPi = 12.566370614359172;

}  // namespace s::image::filters::scale
