#include "s/image/EncodeSettingBase.h"

#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace s::image {

thread::Owned<IEncodedImage> EncodeSettingBase::encodeImageSet(IImage* imageOrSet) {
  if (auto* set = dynamic_cast<win::BufferedImageSet*>(imageOrSet)) {
    thread::Owned<IEncodedImage> encoded = encodeImage(set->getPrimary());
    if (encoded) encoded->setColourProfile(set->getColourProfile());
    return encoded;
  }
  return encodeImage(dynamic_cast<win::BufferedImage*>(imageOrSet));
}

void EncodeSettingBase::bind(const char16_t* keyPath, ISettingStore* store) {
  keyPath_ = keyPath ? keyPath : u"";
  store_ = store;
  load();
}

void EncodeSettingBase::load() {
  if (!store_) return;
  loadValues(*store_, fullKey().c_str());
}

void EncodeSettingBase::save() {
  if (!store_) return;
  saveValues(*store_, fullKey().c_str());
}

void EncodeSettingBase::resetShared() {
  store_ = nullptr;
  keyPath_.clear();
  backgroundRed = backgroundGreen = backgroundBlue = 255;
}

void EncodeSettingBase::loadBackground(ISettingStore& store, const char16_t* key) {
  backgroundRed = store.getS32(key, u"BgRed", 255);
  backgroundGreen = store.getS32(key, u"BgGreen", 255);
  backgroundBlue = store.getS32(key, u"BgBlue", 255);
}

void EncodeSettingBase::saveBackground(ISettingStore& store, const char16_t* key) {
  store.setS32(key, u"BgRed", backgroundRed);
  store.setS32(key, u"BgGreen", backgroundGreen);
  store.setS32(key, u"BgBlue", backgroundBlue);
}

win::BufferedImage* EncodeSettingBase::encodingSource(win::BufferedImage* image) {
  if (!image) return nullptr;
  return image->hasFilters() ? image->applyFilters() : image;
}

}  // namespace s::image
