#include "s/app/SavedValues.h"

#include <gtest/gtest.h>

#include <string>

#include "s/thread/Owned.h"
#include "s/xml/MappedData.h"

namespace {

using s::app::SavedValues;

TEST(SavedValues, AnEmptyStoreGivesEveryDefault) {
  s::thread::Owned<s::xml::MappedData> store = s::thread::make<s::xml::MappedData>();
  std::u16string listing;
  for (const SavedValues::Value& value : SavedValues::all()) {
    listing += std::u16string(value.name) + u"=" + SavedValues::readAsText(*store, value) + u";";
  }
  EXPECT_EQ(listing,
            u"ConvertTo=;CompactView=true;SmallWidth=250;SmallHeight=250;LargeWidth=470;LargeHeight=400;"
            u"RightClickTransform=true;CellWidth=150;CellHeight=150;RowHeight=200;");
  EXPECT_EQ(store->root()->childCount(), 0u);
}

TEST(SavedValues, ValuesAreFoundWithEitherSeparatorAndAnyCase) {
  EXPECT_EQ(SavedValues::find(u"MainWindow\\ConvertTo\\Tile", u"CellWidth"), &SavedValues::all()[7]);
  EXPECT_EQ(SavedValues::find(u"mainwindow/convertto/tile", u"cellwidth"), &SavedValues::all()[7]);
  EXPECT_EQ(SavedValues::find(u"MainWindow\\View", u"CellWidth"), nullptr);
  EXPECT_EQ(SavedValues::find(u"MainWindow\\View", u"Width"), nullptr);  // the window record's own value
}

TEST(SavedValues, TextsAreWrittenOnlyAsTheirType) {
  s::thread::Owned<s::xml::MappedData> store = s::thread::make<s::xml::MappedData>();
  struct Case {
    const SavedValues::Value& value;
    std::u16string_view text;
    bool accepted;
    std::u16string_view readBack;
  };
  const Case cases[] = {
      {SavedValues::kCellWidth, u"90", true, u"90"},
      {SavedValues::kCellWidth, u"-5", true, u"-5"},
      {SavedValues::kCellWidth, u"+7", true, u"7"},
      {SavedValues::kCellWidth, u"-2147483648", true, u"-2147483648"},
      {SavedValues::kCellHeight, u"2147483648", false, u"150"},
      {SavedValues::kCellHeight, u"90x", false, u"150"},
      {SavedValues::kCellHeight, u" 90", false, u"150"},
      {SavedValues::kCellHeight, u"", false, u"150"},
      {SavedValues::kCellHeight, u"+-1", false, u"150"},
      {SavedValues::kCompactView, u"FALSE", true, u"false"},
      {SavedValues::kRightClickTransform, u"0", true, u"false"},
      {SavedValues::kRightClickTransform, u"yes", false, u"false"},
      {SavedValues::kConvertTo, u"Flat", true, u"Flat"},
      {SavedValues::kConvertTo, u"", true, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SavedValues::writeFromText(*store, c.value, c.text), c.accepted) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(SavedValues::readAsText(*store, c.value), c.readBack);
  }
  EXPECT_EQ(store->root()->toUtf8(),
            "<savedata><MainWindow><ConvertTo><Tile CellWidth=\"-2147483648\"></Tile></ConvertTo>"
            "<View CompactView=\"0\" RightClickTransform=\"0\" ConvertTo=\"\"></View></MainWindow></savedata>");
}

}  // namespace
