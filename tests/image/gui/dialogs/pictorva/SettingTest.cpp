#include "s/image/gui/dialogs/pictorva/Setting.h"

#include <gtest/gtest.h>

#include <climits>

#include "s/thread/Owned.h"

namespace {

using s::image::gui::dialogs::pictorva::Setting;

TEST(Setting, CellSizeIsTheLeadingInteger) {
  const struct {
    std::u16string text;
    int32_t value;
  } cases[] = {
      {u"", 150},          // an empty field keeps the default
      {u"200px", 200},     {u"90x", 90},     {u"abc", 0},      {u"-5", -5},
      {u"  42", 42},       {u"+7", 7},       {u"0", 0},        {u"- 5", 0},
      {u"99999999999", INT32_MAX},           {u"-99999999999", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(Setting::cellSizeFromText(c.text), c.value);
}

TEST(Setting, ResetRestoresTheDefaults) {
  auto setting = s::thread::make<Setting>();
  EXPECT_EQ(setting->style, Setting::kStyleTile);
  setting->style = Setting::kStyleFlat;
  setting->title->assign(u"Holiday");
  setting->cellWidth = 90;
  Setting* raw = setting.get();
  setting.reset();
  Setting* again = Setting::create();
  EXPECT_EQ(again, raw) << "the pool hands back the same, reset object";
  EXPECT_EQ(again->style, Setting::kStyleTile);
  EXPECT_EQ(again->title->length(), 0u);
  EXPECT_EQ(again->cellWidth, 150);
  EXPECT_EQ(again->cellHeight, 150);
  again->release();
}

TEST(Setting, TheStoredChoiceSelectsAStyle) {
  EXPECT_EQ(Setting::styleOf(u"Flat"), Setting::kStyleFlat);
  EXPECT_EQ(Setting::styleOf(u"flat"), Setting::kStyleFlat);
  EXPECT_EQ(Setting::styleOf(u"TILE"), Setting::kStyleTile);
  EXPECT_EQ(Setting::styleOf(u""), Setting::kStyleTile);
  EXPECT_EQ(Setting::styleOf(u"Flach"), Setting::kStyleTile);  // written in another language
  EXPECT_EQ(Setting::styleOf(u"Flach", u"Kachel", u"Flach"), Setting::kStyleFlat);
  EXPECT_EQ(Setting::styleOf(u"album"), Setting::kStyleAlbum);
  EXPECT_EQ(Setting::styleOf(u"Альбом", u"Плитка", u"Лента", u"Альбом"), Setting::kStyleAlbum);
}

}  // namespace
