#pragma once
#include "s/image/filters/scale/IScaleFilter.h"
#include "s/thread/Pool.h"

namespace s::image::filters::scale {

class GaussianFilter final : public thread::PooledObject<GaussianFilter, IScaleFilter> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_scale_GaussianFilter";
  static constexpr double kDefaultSupport = 3.0;

  double evaluate(double distance) const override;
  double getSupport() const override { return support_; }
  void setSupport(double support) override { support_ = support; }
  void reset() override { support_ = kDefaultSupport; }

 private:
  double support_ = kDefaultSupport;
};

}  // namespace s::image::filters::scale
