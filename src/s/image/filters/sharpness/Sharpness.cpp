#include "s/image/filters/sharpness/Sharpness.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "s/image/filters/convolution/Convolution.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::filters::sharpness {

using convolution::Convolution;
using win::BufferedImage;

const char16_t* const Sharpness::kFilterId = u"Sharpness";

namespace {

// Truncation toward zero, saturated so that huge blur strengths stay defined.
int32_t truncated(double value) {
  if (!(value > -2147483648.0)) return INT32_MIN;
  if (!(value < 2147483648.0)) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace

Sharpness::~Sharpness() { replaceKernel({}); }

Sharpness* Sharpness::newSharpness(int strength) {
  Sharpness* filter = create();
  filter->setStrength(strength);
  return filter;
}

bool Sharpness::kernelFor(int strength, int32_t (&k)[9]) {
  if (strength == 0) return false;
  if (strength > 0) {
    if (strength > kMaxStrength) strength = kMaxStrength;
    const float x = static_cast<float>(strength / 100.0);
    // x is promoted: the product is formed in double precision.
    const int32_t c = truncated(x * -180.0);
    const int32_t sharpen[9] = {0, c, 0, c, 1100, c, 0, c, 0};
    std::copy(sharpen, sharpen + 9, k);
    return true;
  }
  const float x = static_cast<float>(-static_cast<int64_t>(strength) / 100.0);
  // Single-precision products, as the weights of the blur are made.
  const float bProduct = x * 100.0f;
  const float cProduct = x * 200.0f;
  const int32_t b = truncated(bProduct);
  const int32_t c = truncated(cProduct);
  const int32_t blur[9] = {b, c, b, c, 400, c, b, c, b};
  std::copy(blur, blur + 9, k);
  return true;
}

void Sharpness::setStrength(int strength) {
  if (strength > kMaxStrength) strength = kMaxStrength;
  thread::Owned<Convolution> kernel;
  int32_t weights[9];
  if (kernelFor(strength, weights)) {
    kernel.reset(Convolution::create());
    kernel->setWeights(weights);
  }
  thread::Owned<Convolution> previous;
  {
    thread::CriticalSection::Scope hold(lock_);
    strength_ = strength;
    previous = std::exchange(kernel_, std::move(kernel));
  }
  // The previous kernel goes when previous does, after the lock is left.
}

void Sharpness::replaceKernel(thread::Owned<Convolution> kernel) {
  thread::Owned<Convolution> previous;
  {
    thread::CriticalSection::Scope hold(lock_);
    previous = std::exchange(kernel_, std::move(kernel));
  }
}

void Sharpness::reset() {
  replaceKernel({});
  strength_ = 0;
  autoRelease_ = true;
}

BufferedImage* Sharpness::apply(BufferedImage* source, BufferedImage* output) {
  if (!source) return output;
  if (!output) output = BufferedImage::create();
  source->copyTo(output);
  {
    thread::CriticalSection::Scope hold(lock_);
    const int height = output->getHeight();
    if (kernel_ && height > 0 && output->getWidth() > 0) {
      std::vector<uint8_t*> rows(static_cast<size_t>(height));
      for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = output->getLine(y);
      kernel_->convolve(rows.data(), output->getWidth(), height);
    }
  }
  output->setAlpha(source->hasAlpha());
  return output;
}

}  // namespace s::image::filters::sharpness
