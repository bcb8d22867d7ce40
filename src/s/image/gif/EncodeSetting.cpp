#include "s/image/gif/EncodeSetting.h"

#include "s/image/gif/win/Gif.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gif {

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  interlace = true;
  bitsPerPixel = 8;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImageSet(IImage* imageOrSet) {
  auto* set = dynamic_cast<image::win::BufferedImageSet*>(imageOrSet);
  if (!set) return encodeImage(dynamic_cast<image::win::BufferedImage*>(imageOrSet));
  thread::Owned<gif::win::Gif> gif = thread::make<gif::win::Gif>();
  if (!gif->fromImageSet(set, bitsPerPixel, keepTransparency, backgroundRed, backgroundGreen, backgroundBlue))
    return nullptr;
  return gif;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(image::win::BufferedImage* image) {
  image::win::BufferedImage* source = encodingSource(image);
  if (!source) return nullptr;
  thread::Owned<gif::win::Gif> gif = thread::make<gif::win::Gif>();
  if (!gif->fromBufferedImage(source, bitsPerPixel, keepTransparency, backgroundRed, backgroundGreen, backgroundBlue,
                              gif::win::Gif::kAlphaThreshold))
    return nullptr;
  return gif;
}

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
