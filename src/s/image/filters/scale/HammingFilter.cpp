#include "s/image/filters/scale/HammingFilter.h"

#include <cmath>

namespace s::image::filters::scale {

// A sinc under a Hamming window whose period is fixed at one pixel, whatever the
// support.
double HammingFilter::evaluate(double distance) const {
  if (std::fabs(distance) > support_) return 0.0;
  double window = 0.54 + 0.46 * std::cos(kTwoPi * distance);
  double sinc = distance == 0.0 ? 1.0 : std::sin(kPi * distance) / (kPi * distance);
  return window * sinc;
}

}  // namespace s::image::filters::scale
