// The resampler behind BufferedImage::scaledCopy.
//
// TEMPORARY: the library's bilinear resampler (the scale filter's core) installs
// itself with BufferedImage::setScaleFunction. Until it does, scaledCopy uses the
// nearest-neighbour placeholder below, which gives the right size and layout but
// not the bilinear pixels.
#include <atomic>
#include <cstring>

#include "s/image/win/BufferedImage.h"

namespace s::image::win {

namespace {

bool nearestNeighbour(const RasterView& source, const RasterView& target) {
  if (source.empty() || target.empty()) return false;
  for (int y = 0; y < target.height; ++y) {
    const int sourceY = static_cast<int>(static_cast<int64_t>(y) * source.height / target.height);
    for (int x = 0; x < target.width; ++x) {
      const int sourceX = static_cast<int>(static_cast<int64_t>(x) * source.width / target.width);
      std::memcpy(target.pixel(x, y), source.pixel(sourceX, sourceY), 4);
    }
  }
  return true;
}

std::atomic<BufferedImage::ScaleFunction> scaleFunction{nearestNeighbour};

}  // namespace

void BufferedImage::setScaleFunction(ScaleFunction function) {
  scaleFunction.store(function ? function : nearestNeighbour);
}

BufferedImage::ScaleFunction BufferedImage::getScaleFunction() { return scaleFunction.load(); }

}  // namespace s::image::win
