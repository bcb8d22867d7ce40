#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "s/image/bmp/EncodeSetting.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/ico/EncodeSetting.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/thread/Owned.h"

namespace {

// Records every access as "key|name" and answers reads from a map.
class FakeStore final : public s::image::ISettingStore {
 public:
  int32_t getS32(const char16_t* key, const char16_t* name, int32_t defaultValue) override {
    reads.push_back(id(key, name));
    auto it = values.find(id(key, name));
    return it == values.end() ? defaultValue : it->second;
  }
  bool getBool(const char16_t* key, const char16_t* name, bool defaultValue) override {
    return getS32(key, name, defaultValue ? 1 : 0) != 0;
  }
  void setS32(const char16_t* key, const char16_t* name, int32_t value) override {
    writes.push_back(id(key, name));
    values[id(key, name)] = value;
  }
  void setBool(const char16_t* key, const char16_t* name, bool value) override { setS32(key, name, value); }

  static std::u16string id(const char16_t* key, const char16_t* name) { return std::u16string(key) + u"|" + name; }
  std::map<std::u16string, int32_t> values;
  std::vector<std::u16string> reads, writes;
};

TEST(EncodeSetting, DefaultsAndReset) {
  s::thread::Owned<s::image::bmp::EncodeSetting> bmp = s::thread::make<s::image::bmp::EncodeSetting>();
  EXPECT_TRUE(bmp->keepTransparency);
  EXPECT_EQ(bmp->bitsPerPixel, 24);
  EXPECT_EQ(bmp->backgroundRed + bmp->backgroundGreen + bmp->backgroundBlue, 3 * 255);
  bmp->bitsPerPixel = 8;
  bmp->backgroundRed = 0;
  bmp->reset();
  EXPECT_EQ(bmp->bitsPerPixel, 24);
  EXPECT_EQ(bmp->backgroundRed, 255);
  EXPECT_FALSE(bmp->hasStore());
  EXPECT_EQ(bmp->createConfigBox(), nullptr);
  EXPECT_TRUE(bmp->applyConfigBox());

  s::thread::Owned<s::image::jpg::EncodeSetting> jpg = s::thread::make<s::image::jpg::EncodeSetting>();
  EXPECT_EQ(jpg->quality, 75);
  s::thread::Owned<s::image::gif::EncodeSetting> gif = s::thread::make<s::image::gif::EncodeSetting>();
  EXPECT_EQ(gif->bitsPerPixel, 8);
  EXPECT_TRUE(gif->interlace);
  s::thread::Owned<s::image::ico::EncodeSetting> ico = s::thread::make<s::image::ico::EncodeSetting>();
  EXPECT_TRUE(ico->sizes.empty());
  EXPECT_TRUE(ico->depths.empty());
  EXPECT_EQ(s::image::ico::EncodeSetting::packPair(8, 48), (48u << 16) | 8u);
}

TEST(EncodeSetting, LoadAndSaveUseTheFormatSubkeyInOrder) {
  FakeStore store;
  store.values[u"Gallery\\BmpEncodeSetting|Bpp"] = 8;
  s::thread::Owned<s::image::bmp::EncodeSetting> bmp = s::thread::make<s::image::bmp::EncodeSetting>();
  bmp->bind(u"Gallery", &store);
  EXPECT_EQ(bmp->bitsPerPixel, 8);
  const std::vector<std::u16string> order = {
      u"Gallery\\BmpEncodeSetting|KeepTransparency", u"Gallery\\BmpEncodeSetting|BgRed",
      u"Gallery\\BmpEncodeSetting|BgGreen", u"Gallery\\BmpEncodeSetting|BgBlue", u"Gallery\\BmpEncodeSetting|Bpp"};
  EXPECT_EQ(store.reads, order);
  bmp->save();
  EXPECT_EQ(store.writes, order);

  // The JPEG quality read defaults to the record's current value.
  FakeStore empty;
  s::thread::Owned<s::image::jpg::EncodeSetting> jpg = s::thread::make<s::image::jpg::EncodeSetting>();
  jpg->quality = 90;
  jpg->bind(u"K", &empty);
  EXPECT_EQ(jpg->quality, 90);
  EXPECT_EQ(empty.reads.front(), u"K\\JpgEncodeSetting|Quality");
}

TEST(EncodeSetting, IconListsLoadWithTheirDefaultsAndSaveAsFlags) {
  FakeStore store;
  s::thread::Owned<s::image::ico::EncodeSetting> ico = s::thread::make<s::image::ico::EncodeSetting>();
  ico->bind(u"K", &store);
  EXPECT_EQ(ico->sizes, (std::vector<int>{16, 24, 32, 48}));
  EXPECT_EQ(ico->depths, (std::vector<int>{4, 8, 32}));
  ico->sizes = {96, 17};  // 17 is no persisted size
  ico->depths = {8};
  ico->save();
  EXPECT_EQ(store.values[u"K\\IcoEncodeSetting|Size096"], 1);
  EXPECT_EQ(store.values[u"K\\IcoEncodeSetting|Size016"], 0);
  EXPECT_EQ(store.values[u"K\\IcoEncodeSetting|Bpp08"], 1);
  EXPECT_EQ(store.values[u"K\\IcoEncodeSetting|Bpp32"], 0);
  ico->load();
  EXPECT_EQ(ico->sizes, (std::vector<int>{96}));
  EXPECT_EQ(ico->depths, (std::vector<int>{8}));
}

}  // namespace
