#include "s/image/bmp/EncodeSetting.h"

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::bmp {

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  bitsPerPixel = 24;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(image::win::BufferedImage* image) {
  image::win::BufferedImage* source = encodingSource(image);
  if (!source) return nullptr;
  thread::Owned<bmp::win::Bitmap> bitmap = thread::make<bmp::win::Bitmap>();
  if (!bitmap->fromBufferedImage(source, bitsPerPixel, keepTransparency, backgroundRed, backgroundGreen,
                                 backgroundBlue))
    return nullptr;
  return bitmap;
}

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  keepTransparency = store.getBool(key, u"KeepTransparency", true);
  loadBackground(store, key);
  bitsPerPixel = store.getS32(key, u"Bpp", 24);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setBool(key, u"KeepTransparency", keepTransparency);
  saveBackground(store, key);
  store.setS32(key, u"Bpp", bitsPerPixel);
}

}  // namespace s::image::bmp
