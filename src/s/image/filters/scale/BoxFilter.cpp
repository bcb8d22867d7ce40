#include "s/image/filters/scale/BoxFilter.h"

#include <cmath>

namespace s::image::filters::scale {

// Inclusive at the support: a tap exactly half a pixel away counts fully.
double BoxFilter::evaluate(double distance) const { return std::fabs(distance) <= support_ ? 1.0 : 0.0; }

}  // namespace s::image::filters::scale
