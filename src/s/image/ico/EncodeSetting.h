#pragma once
// How pixel images become an icon file: which square sizes and depths it holds,
// whether pictures keep their ratio when fitted into a square, transparency.
#include <cstdint>
#include <iterator>
#include <vector>

#include "s/image/EncodeSettingBase.h"
#include "s/thread/Pool.h"

namespace s::image::ico {

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
  // None until the ICO codec is part of the library.
  IEncodedImage* encodeImageSet(IImage* imageOrSet) override;
  IEncodedImage* encodeImage(win::BufferedImage* image) override;

 protected:
  const char16_t* getSubkey() const override { return u"\\IcoEncodeSetting"; }
  void loadValues(ISettingStore& store, const char16_t* key) override;
  void saveValues(ISettingStore& store, const char16_t* key) override;
};

}  // namespace s::image::ico
