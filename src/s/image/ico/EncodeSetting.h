#pragma once
// How pixel images become an icon file: which square sizes and depths it holds,
// whether pictures keep their ratio when fitted into a square, transparency.
#include <cstdint>
#include <iterator>
#include <vector>

#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::ico {

namespace win {
class Icon;
}

class EncodeSetting final : public thread::PooledObject<EncodeSetting, EncodeSettingBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_ico_EncodeSetting";
  static constexpr int kSizes[] = {16, 24, 32, 48, 64, 96};
  static constexpr int kDepths[] = {4, 8, 32};

  bool keepTransparency = true;
  bool keepRatio = true;
  std::vector<int> sizes;   // square sizes to write
  std::vector<int> depths;  // bit depths to write
  // (depth, size) pairs: depth in the low 16 bits, size in the high 16 bits. Not
  // persisted.
  std::vector<uint32_t> depthSizePairs;

  static uint32_t packPair(int depth, int size) {
    return (static_cast<uint32_t>(depth) & 0xFFFF) | ((static_cast<uint32_t>(size) & 0xFFFF) << 16);
  }

  void reset() override;
  // An image set gives one icon image per set image when the pair list has one pair
  // per image: image i fitted into a square of pair i's size, at its depth.
  // Otherwise the set's primary image is encoded.
  thread::Owned<IEncodedImage> encodeImageSet(IImage* imageOrSet) override;
  // One icon image per size and depth of the lists (sizes first; one 32-bit image for
  // sizes above 255), each the picture fitted into a square of that size. None when
  // either list is empty.
  thread::Owned<IEncodedImage> encodeImage(image::win::BufferedImage* image) override;

 protected:
  bool addImage(ico::win::Icon& icon, image::win::BufferedImage* square, int depth) const;
  const char16_t* getSubkey() const override { return u"\\IcoEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::ico
