#include "s/image/jpg/EncodeSetting.h"

#include "s/image/jpg/win/Jpeg.h"
#include "s/thread/Owned.h"

namespace s::image::jpg {

void EncodeSetting::reset() {
  resetShared();
  quality = 75;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(image::win::BufferedImage* image) {
  image::win::BufferedImage* source = encodingSource(image);
  if (!source) return nullptr;
  thread::Owned<jpg::win::Jpeg> jpeg = thread::make<jpg::win::Jpeg>();
  if (!jpeg->fromBufferedImage(source, quality, backgroundRed, backgroundGreen, backgroundBlue)) return nullptr;
  return jpeg;
}

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
