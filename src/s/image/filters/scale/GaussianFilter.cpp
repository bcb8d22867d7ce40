#include "s/image/filters/scale/GaussianFilter.h"

#include <cmath>

namespace s::image::filters::scale {

double GaussianFilter::evaluate(double distance) const {
  if (std::fabs(distance) > support_) return 0.0;
  return std::exp(-distance * distance / 2.0) / std::sqrt(kTwoPi);
}

}  // namespace s::image::filters::scale
