#include "s/image/filters/scale/BilinearFilter.h"

#include <cmath>

namespace s::image::filters::scale {

// A triangle whose peak is the support itself, not 1: the contribution table
// normalises the weights, so only their proportions matter.
double BilinearFilter::evaluate(double distance) const {
  double magnitude = std::fabs(distance);
  return magnitude < support_ ? support_ - magnitude : 0.0;
}

}  // namespace s::image::filters::scale
