#include "s/image/filters/scale/BlackmanFilter.h"

#include <cmath>

namespace s::image::filters::scale {

// The first coefficient is 0.42001, not 0.42, so the window is still slightly
// positive at the support (0.00001): the outermost taps keep a tiny weight.
double BlackmanFilter::evaluate(double distance) const {
  if (std::fabs(distance) > support_) return 0.0;
  // The period is taken as (2W + 1) - 1, which is not always 2W to the last bit.
  double period = (2.0 * support_ + 1.0) - 1.0;
  return 0.42001 + 0.5 * std::cos(kTwoPi * distance / period) + 0.08 * std::cos(kFourPi * distance / period);
}

}  // namespace s::image::filters::scale
