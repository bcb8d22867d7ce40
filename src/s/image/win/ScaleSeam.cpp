// The resampler behind BufferedImage::scaledCopy: the scale filter's bilinear
// resampling at its default support. Tests may install another function.
#include <atomic>

#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::win {

namespace {

bool bilinear(const RasterView& source, const RasterView& target) {
  using filters::scale::ScaleFilter;
  return ScaleFilter::resampleInto(source, target, ScaleFilter::sharedKernel(filters::scale::kKernelBilinear));
}

std::atomic<BufferedImage::ScaleFunction> scaleFunction{bilinear};

}  // namespace

void BufferedImage::setScaleFunction(ScaleFunction function) { scaleFunction.store(function ? function : bilinear); }

BufferedImage::ScaleFunction BufferedImage::getScaleFunction() { return scaleFunction.load(); }

}  // namespace s::image::win
