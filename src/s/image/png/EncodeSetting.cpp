#include "s/image/png/EncodeSetting.h"

namespace s::image::png {

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  interlace = true;
}

IEncodedImage* EncodeSetting::encodeImage(win::BufferedImage*) { return nullptr; }

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  keepTransparency = store.getBool(key, u"KeepTransparency", true);
  interlace = store.getBool(key, u"WithInterlace", true);
  loadBackground(store, key);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setBool(key, u"KeepTransparency", keepTransparency);
  store.setBool(key, u"WithInterlace", interlace);
  saveBackground(store, key);
}

}  // namespace s::image::png
