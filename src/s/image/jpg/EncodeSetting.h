#pragma once
// How a pixel image becomes a JPEG: quality; transparency is always composed onto
// the background colour.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::jpg {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_jpg_EncodeSetting";

  int quality = 75;

  void reset() override;
  // A new Jpeg at this quality, or none when the image is empty.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\JpgEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::jpg
