#pragma once
// How a pixel image or an image set becomes a WebP: lossy at a quality or
// lossless, transparency kept or composed onto the background.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::webp {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_webp_EncodeSetting";

  int quality = 75;
  bool lossless = false;
  bool keepTransparency = true;

  void reset() override;
  // An animated set of more than one picture becomes an animation, anything else
  // a still of the primary picture; the set's colour profile goes with it.
  thread::Owned<IEncodedImage> encodeImageSet(IImage* imageOrSet) override;
  // A new Webp with these values, or none when the image is empty.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\WebpEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::webp
