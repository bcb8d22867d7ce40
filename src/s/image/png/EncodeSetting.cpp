#include "s/image/png/EncodeSetting.h"

#include "s/image/png/win/Png.h"
#include "s/thread/Owned.h"

namespace s::image::png {

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  interlace = true;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(image::win::BufferedImage* image) {
  image::win::BufferedImage* source = encodingSource(image);
  if (!source) return nullptr;
  thread::Owned<png::win::Png> png = thread::make<png::win::Png>();
  if (!png->fromBufferedImage(source, interlace, keepTransparency, backgroundRed, backgroundGreen, backgroundBlue))
    return nullptr;
  return png;
}

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
