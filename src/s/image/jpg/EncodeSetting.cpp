#include "s/image/jpg/EncodeSetting.h"

namespace s::image::jpg {

void EncodeSetting::reset() {
  resetShared();
  quality = 75;
}

IEncodedImage* EncodeSetting::encodeImage(win::BufferedImage*) { return nullptr; }

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  // The quality read defaults to the record's current value.
  quality = store.getS32(key, u"Quality", quality);
  loadBackground(store, key);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setS32(key, u"Quality", quality);
  saveBackground(store, key);
}

}  // namespace s::image::jpg
