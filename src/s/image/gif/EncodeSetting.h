#pragma once
// How pixel images become a GIF: depth, interlacing, transparency.
#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::gif {

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gif_EncodeSetting";

  bool keepTransparency = true;
  bool interlace = true;
  int bitsPerPixel = 8;

  void reset() override;
  // An animated set becomes an animation (see gif::win::Gif::fromImageSet); any
  // other set gives its primary image. The result is a gif::win::Gif.
  thread::Owned<IEncodedImage> encodeImageSet(IImage* imageOrSet) override;
  // One frame; pixels with alpha below 96 become transparent when keepTransparency.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\GifEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::gif
