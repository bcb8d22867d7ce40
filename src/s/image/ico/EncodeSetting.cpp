#include "s/image/ico/EncodeSetting.h"

namespace s::image::ico {

namespace {

constexpr const char16_t* kSizeKeys[] = {u"Size016", u"Size024", u"Size032", u"Size048", u"Size064", u"Size096"};
// Sizes present when a store holds no value: the four small ones.
constexpr bool kSizeDefaults[] = {true, true, true, true, false, false};
constexpr const char16_t* kDepthKeys[] = {u"Bpp04", u"Bpp08", u"Bpp32"};

}  // namespace

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  keepRatio = true;
  sizes.clear();
  depths.clear();
  depthSizePairs.clear();
}

IEncodedImage* EncodeSetting::encodeImageSet(IImage*) { return nullptr; }

IEncodedImage* EncodeSetting::encodeImage(win::BufferedImage*) { return nullptr; }

void EncodeSetting::loadValues(ISettingStore& store, const char16_t* key) {
  keepTransparency = store.getBool(key, u"KeepTransparency", true);
  keepRatio = store.getBool(key, u"KeepRatio", true);
  loadBackground(store, key);
  sizes.clear();
  depths.clear();
  for (size_t i = 0; i < std::size(kSizes); ++i)
    if (store.getBool(key, kSizeKeys[i], kSizeDefaults[i])) sizes.push_back(kSizes[i]);
  for (size_t i = 0; i < std::size(kDepths); ++i)
    if (store.getBool(key, kDepthKeys[i], true)) depths.push_back(kDepths[i]);
}

void EncodeSetting::saveValues(ISettingStore& store, const char16_t* key) {
  store.setBool(key, u"KeepTransparency", keepTransparency);
  store.setBool(key, u"KeepRatio", keepRatio);
  saveBackground(store, key);
  for (const char16_t* name : kSizeKeys) store.setBool(key, name, false);
  for (int size : sizes)
    for (size_t i = 0; i < std::size(kSizes); ++i)
      if (size == kSizes[i]) store.setBool(key, kSizeKeys[i], true);
  for (const char16_t* name : kDepthKeys) store.setBool(key, name, false);
  for (int depth : depths)
    for (size_t i = 0; i < std::size(kDepths); ++i)
      if (depth == kDepths[i]) store.setBool(key, kDepthKeys[i], true);
}

}  // namespace s::image::ico
