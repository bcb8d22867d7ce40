#pragma once
// How pixel images become a GIF: depth, interlacing, transparency.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"

namespace s::image::gif {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gif_EncodeSetting";

  bool keepTransparency = true;
  bool interlace = true;
  int bitsPerPixel = 8;

  void reset() override;
  // None until the GIF codec is part of the library.
  IEncodedImage* encodeImageSet(IImage* imageOrSet) override;
  IEncodedImage* encodeImage(win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\GifEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::gif
