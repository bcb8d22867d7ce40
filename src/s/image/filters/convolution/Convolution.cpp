#include "s/image/filters/convolution/Convolution.h"

#include <cstdlib>

#include "s/image/filters/convolution/_convolve/Rows.h"
#include "s/image/filters/VectorLevel.h"

namespace s::image::filters::convolution {

namespace {

constexpr int32_t kIdentity[Convolution::kTaps] = {0, 0, 0, 0, 1, 0, 0, 0, 0};

_convolve::Kernel kernelOf(const int32_t* weights, int32_t divisor) {
  _convolve::Kernel kernel;
  for (int t = 0; t < Convolution::kTaps; ++t) kernel.weights[t] = weights[t];
  kernel.divisor = divisor;
  return kernel;
}

}  // namespace

Convolution::Convolution() { setWeights(kIdentity); }

void Convolution::reset() { setWeights(kIdentity); }

Convolution* Convolution::newConvolution(int32_t k0, int32_t k1, int32_t k2, int32_t k3, int32_t k4, int32_t k5,
                                         int32_t k6, int32_t k7, int32_t k8) {
  Convolution* convolution = create();
  convolution->setWeights({k0, k1, k2, k3, k4, k5, k6, k7, k8});
  return convolution;
}

void Convolution::setWeights(const int32_t (&weights)[kTaps]) {
  uint32_t sum = 0;
  for (int t = 0; t < kTaps; ++t) {
    weights_[t] = weights[t];
    sum += static_cast<uint32_t>(weights[t]);
  }
  divisor_ = static_cast<int32_t>(sum);
}

bool Convolution::hasBoundedSums() const {
  for (int32_t weight : weights_)
    if (weight < -32767 || weight > 32767) return false;
  return divisor_ >= -65535 && divisor_ <= 65535;
}

void Convolution::convolve(uint8_t* const* rows, int width, int height) const {
  if (!rows || width <= 0 || height <= 0) return;
  const _convolve::Kernel kernel = kernelOf(weights_, divisor_);
#ifdef PICTORVA_CONVOLVE_X86
  if (width >= 3 && height >= 3 && hasBoundedSums() &&
      activeLevel() != VectorLevel::kScalar) {
    _convolve::filterBounded(rows, width, height, kernel);
    return;
  }
#endif
  _convolve::filterReference(rows, width, height, kernel);
}

void Convolution::convolveReference(uint8_t* const* rows, int width, int height) const {
  if (!rows || width <= 0 || height <= 0) return;
  _convolve::filterReference(rows, width, height, kernelOf(weights_, divisor_));
}

}  // namespace s::image::filters::convolution
