#pragma once
// The sharpening filter: sharpens (strength > 0) or blurs (strength < 0) a pixel image
// with a 3 x 3 convolution, in place on a copy of the source. Strength 0 copies.
//
// Kernels (rows top to bottom):
//   sharpen  0 c 0 / c 1100 c / 0 c 0,  c = trunc(x * -180.0), divisor 1100 + 4c
//   blur     b c b / c 400 c / b c b,   b = trunc(x * 100), c = trunc(x * 200),
//                                       divisor 400 + 4b + 4c
// where x is |strength| / 100 rounded to a single-precision float (so strength 70
// gives c = -125). Strengths above 152 would make the sharpening divisor 0 or
// negative: they are taken as 152.
//
// The kernel is guarded by the filter's lock: a strength change from another thread
// never frees a kernel that apply() is using.
#include <cstdint>

#include "s/image/filters/IFilter.h"
#include "s/image/filters/convolution/Convolution.h"
#include "s/thread/CriticalSection.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::image::filters::convolution {
class Convolution;
}

namespace s::image::filters::sharpness {

class SharpnessBase : public IFilter {};

class Sharpness final : public thread::PooledObject<Sharpness, SharpnessBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_sharpness_Sharpness";
  // The filter's identity in an image's chain (compared by address).
  static const char16_t* const kFilterId;
  static constexpr int kMaxStrength = 152;

  Sharpness() = default;
  ~Sharpness() override;
  Sharpness(const Sharpness&) = delete;
  Sharpness& operator=(const Sharpness&) = delete;

  // A filter from the pool with this strength.
  static Sharpness* newSharpness(int strength);

  // Stores the strength (positive ones at most kMaxStrength) and builds its kernel.
  void setStrength(int strength);
  int getStrength() const { return strength_; }

  const char16_t* getFilterId() const override { return kFilterId; }
  bool isAutoRelease() const override { return autoRelease_; }
  void setAutoRelease(bool autoRelease) override { autoRelease_ = autoRelease; }
  // A copy of source in output (or in a new image without one), then sharpened; the
  // output's alpha flag is the source's.
  win::BufferedImage* apply(win::BufferedImage* source, win::BufferedImage* output) override;

  void reset() override;

  // The kernel's weights (k0..k8) and divisor for a strength; false for strength 0
  // (no kernel).
  static bool kernelFor(int strength, int32_t (&weights)[9]);

 private:
  void replaceKernel(thread::Owned<convolution::Convolution> kernel);

  bool autoRelease_ = true;
  thread::CriticalSection lock_;
  int strength_ = 0;
  thread::Owned<convolution::Convolution> kernel_;
};

}  // namespace s::image::filters::sharpness
