#pragma once
// How a pixel image becomes a BMP: depth, and what happens to transparency.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_bmp_EncodeSetting";

  // Only 32-bit files keep alpha; all others are composed onto the background.
  bool keepTransparency = true;
  int bitsPerPixel = 24;

  void reset() override;
  // A new Bitmap at bitsPerPixel, or none when the image is empty or the depth
  // unsupported.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\BmpEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::bmp
