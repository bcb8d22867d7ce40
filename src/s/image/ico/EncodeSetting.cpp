#include "s/image/ico/EncodeSetting.h"

#include "s/image/ico/win/Icon.h"
#include "s/image/ico/win/IconImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::ico {

namespace {

constexpr const char16_t* kSizeKeys[] = {u"Size016", u"Size024", u"Size032", u"Size048", u"Size064", u"Size096"};
// Sizes present when a store holds no value: the four small ones.
constexpr bool kSizeDefaults[] = {true, true, true, true, false, false};
constexpr const char16_t* kDepthKeys[] = {u"Bpp04", u"Bpp08", u"Bpp32"};

using image::win::BufferedImage;

// The picture fitted into a size x size square: its scaled copy when that is square,
// else the copy centred on transparent black. The result is valid until the next
// scaledCopy of source; a new square is held in `canvas`.
BufferedImage* squareOf(BufferedImage* source, int size, bool keepRatio, thread::Owned<BufferedImage>& canvas) {
  BufferedImage* scaled = source->scaledCopy(size, size, keepRatio);
  if (scaled->getWidth() == size && scaled->getHeight() == size) return scaled;
  canvas.reset(BufferedImage::create());
  if (!canvas->create(size, size)) return nullptr;
  BufferedImage::fill(canvas.get(), 0, 0, 0, 0);
  canvas->drawImage((size - scaled->getWidth()) / 2, (size - scaled->getHeight()) / 2, scaled->getWidth(),
                    scaled->getHeight(), scaled, 0, 0, false);
  return canvas.get();
}

}  // namespace

void EncodeSetting::reset() {
  resetShared();
  keepTransparency = true;
  keepRatio = true;
  sizes.clear();
  depths.clear();
  depthSizePairs.clear();
}

bool EncodeSetting::addImage(ico::win::Icon& icon, BufferedImage* square, int depth) const {
  thread::Owned<ico::win::IconImage> image(ico::win::IconImage::create());
  if (!image->fromBufferedImage(square, depth, keepTransparency, backgroundRed, backgroundGreen, backgroundBlue))
    return false;
  icon.addIconImage(image.detach());
  return true;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImageSet(IImage* imageOrSet) {
  auto* set = dynamic_cast<image::win::BufferedImageSet*>(imageOrSet);
  if (!set) return encodeImage(dynamic_cast<BufferedImage*>(imageOrSet));
  if (depthSizePairs.empty() || depthSizePairs.size() != static_cast<size_t>(set->getCount()))
    return encodeImage(set->getPrimary());
  thread::Owned<ico::win::Icon> icon = thread::make<ico::win::Icon>();
  for (int i = 0; i < set->getCount(); ++i) {
    const uint32_t pair = depthSizePairs[static_cast<size_t>(i)];
    const int size = static_cast<int>(pair >> 16);
    const int depth = static_cast<int>(pair & 0xFFFF);
    BufferedImage* source = encodingSource(set->getImage(i));
    if (size < 1 || !source || source->getWidth() <= 0 || source->getHeight() <= 0) continue;
    thread::Owned<BufferedImage> canvas;
    if (BufferedImage* square = squareOf(source, size, keepRatio, canvas)) (void)addImage(*icon, square, depth);
  }
  if (icon->getImageCount() == 0) return nullptr;
  return icon;
}

thread::Owned<IEncodedImage> EncodeSetting::encodeImage(BufferedImage* image) {
  if (sizes.empty() || depths.empty()) return nullptr;
  BufferedImage* source = encodingSource(image);
  if (!source || source->getWidth() <= 0 || source->getHeight() <= 0) return nullptr;
  thread::Owned<ico::win::Icon> icon = thread::make<ico::win::Icon>();
  // By size first, then by depth; sizes above 255 are written as PNG, at 32 bits.
  for (int size : sizes) {
    if (size < 1 || size > ico::win::IconImage::kMaxSide) continue;
    thread::Owned<BufferedImage> canvas;
    BufferedImage* square = squareOf(source, size, keepRatio, canvas);
    if (!square) continue;
    if (size > ico::win::IconImage::kMaxDibSide) {
      (void)addImage(*icon, square, 32);
      continue;
    }
    for (int depth : depths) (void)addImage(*icon, square, depth);
  }
  if (icon->getImageCount() == 0) return nullptr;
  return icon;
}

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
