#include "s/image/gif/EncodeSetting.h"

namespace s::image::gif {

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  interlace = true;
  bitsPerPixel = 8;
}

IEncodedImage* EncodeSetting::encodeImageSet(IImage*) { return nullptr; }

IEncodedImage* EncodeSetting::encodeImage(win::BufferedImage*) { return nullptr; }

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  keepTransparency = store.getBool(key, u"KeepTransparency", true);
  interlace = store.getBool(key, u"WithInterlace", true);
  loadBackground(store, key);
  bitsPerPixel = store.getS32(key, u"Bpp", 8);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setBool(key, u"KeepTransparency", keepTransparency);
  store.setBool(key, u"WithInterlace", interlace);
  saveBackground(store, key);
  store.setS32(key, u"Bpp", bitsPerPixel);
}

}  // namespace s::image::gif
