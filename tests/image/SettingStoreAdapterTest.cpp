#include "s/image/SettingStoreAdapter.h"

#include <gtest/gtest.h>

#include "file/TempFolder.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/xml/MappedData.h"

namespace {

using s::thread::Owned;

// A new store object on the XML file at path, as a new start of the program makes.
Owned<s::xml::MappedData> openStore(const std::u16string& path) {
  Owned<s::xml::MappedData> store = s::thread::make<s::xml::MappedData>();
  (void)store->open(path);
  return store;
}

TEST(SettingStoreAdapter, EncoderSettingsKeepTheirValuesThroughTheStore) {
  s::file::testing::TempFolder folder;
  const std::u16string path = folder / u"savedata/SaveData.xml";
  {
    Owned<s::xml::MappedData> store = openStore(path);
    s::image::SettingStoreAdapter adapter(*store);
    Owned<s::image::jpg::EncodeSetting> setting = s::thread::make<s::image::jpg::EncodeSetting>();
    setting->bind(u"Gallery", &adapter);
    setting->quality = 42;
    setting->backgroundRed = 7;
    setting->save();
    ASSERT_TRUE(store->flush());
  }
  Owned<s::xml::MappedData> store = openStore(path);
  s::image::SettingStoreAdapter adapter(*store);
  Owned<s::image::jpg::EncodeSetting> setting = s::thread::make<s::image::jpg::EncodeSetting>();
  setting->bind(u"Gallery", &adapter);
  EXPECT_EQ(setting->quality, 42);
  EXPECT_EQ(setting->backgroundRed, 7);
  EXPECT_EQ(setting->backgroundGreen, 255);
}

}  // namespace
