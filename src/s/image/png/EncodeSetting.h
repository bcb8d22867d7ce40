#pragma once
// How a pixel image becomes a PNG: transparency and interlacing.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::png {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_png_EncodeSetting";

  bool keepTransparency = true;
  bool interlace = true;

  void reset() override;
  // A new Png with these values, or none when the image is empty.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\PngEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::png
