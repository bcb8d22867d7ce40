#include "s/image/webp/EncodeSetting.h"

#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::webp {

void EncodeSetting::reset() {
  resetShared();
  quality = 75;
  lossless = false;
  keepTransparency = true;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImageSet(IImage* imageOrSet) {
  auto* set = dynamic_cast<image::win::BufferedImageSet*>(imageOrSet);
  if (!set) return encodeImage(dynamic_cast<image::win::BufferedImage*>(imageOrSet));
  thread::Owned<webp::win::Webp> webp = thread::make<webp::win::Webp>();
  if (!webp->fromImageSet(set, quality, lossless, keepTransparency, backgroundRed, backgroundGreen, backgroundBlue))
    return nullptr;
  webp->setColourProfile(set->getColourProfile());
  return webp;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(image::win::BufferedImage* image) {
  image::win::BufferedImage* source = encodingSource(image);
  if (!source) return nullptr;
  thread::Owned<webp::win::Webp> webp = thread::make<webp::win::Webp>();
  if (!webp->fromBufferedImage(source, quality, lossless, keepTransparency, backgroundRed, backgroundGreen,
                               backgroundBlue))
    return nullptr;
  return webp;
}

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  quality = store.getS32(key, u"Quality", quality);
  lossless = store.getBool(key, u"Lossless", false);
  keepTransparency = store.getBool(key, u"KeepTransparency", true);
  loadBackground(store, key);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setS32(key, u"Quality", quality);
  store.setBool(key, u"Lossless", lossless);
  store.setBool(key, u"KeepTransparency", keepTransparency);
  saveBackground(store, key);
}

}  // namespace s::image::webp
