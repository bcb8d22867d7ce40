#include "s/image/gui/dialogs/pictorva/PageWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using s::image::gui::dialogs::pictorva::GalleryRow;
using s::image::gui::dialogs::pictorva::PageWriter;

std::string narrow(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out.push_back(unit < 128 ? static_cast<char>(unit) : '?');
  return out;
}

std::vector<std::u16string> lines(const std::u16string& page) {
  std::vector<std::u16string> result;
  size_t start = 0;
  for (size_t end; (end = page.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    result.push_back(page.substr(start, end - start));
  }
  EXPECT_EQ(start, page.size()) << "the last line ends in CR LF too";
  return result;
}

TEST(PageWriter, TileRowMatchesTheClassicExample) {
  GalleryRow row{u"My cat's.JPG", u"My cat's.JPG", 1600, 1200, 2000000, u"My cat's (150x112).JPG", 150, 112};
  const auto page = lines(PageWriter::buildTilePage(u"T", {row}, 150));
  ASSERT_EQ(page.size(), 98u);
  EXPECT_EQ(narrow(page[92]),
            "window.thumb.addImage('simg/My%20cat\\'s%20(150x112).JPG', 150, 112, 'My cat\\'s', "
            "'img/My%20cat\\'s.JPG', 1600, 1200, '1954k', 'JPG');");
  EXPECT_EQ(narrow(page[90]), "window.thumb.cellWidth = 155");
  EXPECT_EQ(narrow(page[91]), "window.thumb.insertTable(1);");
  EXPECT_EQ(narrow(page[93]), "//--></script>");
}

TEST(PageWriter, TemplatesWithoutRows) {
  const auto tile = lines(PageWriter::buildTilePage(u"a<b&c", {}, 150));
  ASSERT_EQ(tile.size(), 97u);
  EXPECT_EQ(narrow(tile[0]), "<html>");
  EXPECT_EQ(narrow(tile[4]), "<title>a<b&c</title>") << "the title is written unchanged";
  EXPECT_EQ(narrow(tile[15]), "\twindow.thumb.numOfColumn = window.thumb.calcNumOfColumn();");
  EXPECT_EQ(narrow(tile[73]), "\t\t\t\t+ theImage.sWidth + \" height=\" + theImage.sHeight + \"></a>\";");
  EXPECT_EQ(narrow(tile[91]), "window.thumb.insertTable(0);");
  EXPECT_EQ(narrow(tile[92]), "//--></script>");
  EXPECT_EQ(narrow(tile.back()), "</html>");

  const auto flat = lines(PageWriter::buildFlatPage(u"", {}));
  ASSERT_EQ(flat.size(), 111u);
  EXPECT_EQ(narrow(flat[4]), "<title></title>");
  EXPECT_EQ(narrow(flat[105]), "window.thumb.insertTable(0);");
  EXPECT_EQ(narrow(flat[106]), "//--></script>");
  EXPECT_EQ(narrow(flat[84]),
            "\t\t\t+ theImage.bWidth + \" x \" + theImage.bHeight + \" - \" + theImage.bSize + \" - \" + "
            "theImage.bType + \"</font><br>\";");
}

TEST(PageWriter, FlatRowHasNoSmallCopyAndAWholeName) {
  GalleryRow row{u"a very long name that is never cut.png", u"a very long name that is never cut.png", 10, 20, 1048576};
  const auto page = lines(PageWriter::buildFlatPage(u"T", {row, row}));
  ASSERT_EQ(page.size(), 113u);
  EXPECT_EQ(narrow(page[105]), "window.thumb.insertTable(2);");
  EXPECT_EQ(narrow(page[106]),
            "window.thumb.addImage('simg/', 0, 0, 'a very long name that is never cut', "
            "'img/a%20very%20long%20name%20that%20is%20never%20cut.png', 10, 20, '1025KB', 'png');");
}

TEST(PageWriter, LinkNames) {
  const struct {
    std::u16string name;
    std::string link;
  } cases[] = {
      {u"a b&c.jpg", "a%20b%26c.jpg"},
      {u"x%20y;z@w.png", "x%2520y%3Bz%40w.png"},
      {u"it's.gif", "it\\'s.gif"},
      {u"no#1.jpg", "no%231.jpg"},  // a fragment would cut the path
      // Characters Linux allows in names: they must not end the attribute or string.
      {u"q\"<>\\?.bmp", "q%22%3C%3E%5C%3F.bmp"},
      {u"tab\there.png", "tab%09here.png"},
      {u"line\u2028.png", "line%E2%80%A8.png"},
  };
  for (const auto& c : cases) EXPECT_EQ(narrow(PageWriter::linkName(c.name)), c.link) << c.link;
  EXPECT_EQ(PageWriter::linkName(u"写真 1.jpg"), u"写真%201.jpg");
}

TEST(PageWriter, SplitNameAtTheLastDot) {
  std::u16string_view base, type;
  PageWriter::splitName(u"a.b.png", &base, &type);
  EXPECT_EQ(base, u"a.b");
  EXPECT_EQ(type, u"png");
  PageWriter::splitName(u"noext", &base, &type);
  EXPECT_TRUE(base.empty() && type.empty());
}

TEST(PageWriter, DisplayNameShortening) {
  const struct {
    std::u16string base;
    int64_t limit;
    std::u16string expected;
  } cases[] = {
      {u"abcdefghijklmn", 15, u"abcdefghijklmn"},                 // 14 characters: whole
      {u"abcdefghijklmno", 15, u"abcdefghijklmno..."},            // 15: "..." though nothing is cut
      {u"abcdefghijklmnopqrst", 15, u"abcdefghijklmno..."},       // 20: first 15 kept
      {u"ああああああああああ", 15, u"ああああああああ..."},      // width 2 each: cut after the 8th
      {u"abc", 0, u"a..."},                                       // cell width below 10
      {u"", 0, u""},
      {u"abcdefghijklm'x", 15, u"abcdefghijklm\\'..."},           // the cut keeps \' whole
      {u"abcdefghijklmn'x", 15, u"abcdefghijklmn\\'..."},         // reaching the limit at the backslash
      {u"abcdefg\U0001F600xyz", 9, u"abcdefg\U0001F600..."},      // no split surrogate pair
      {u"a\\b\"c<d>", 100, u"a\\\\b&quot;c&lt;d&gt;"},           // Linux-only characters escaped
      {u"a\nb", 100, u"a\\u000Ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageWriter::displayName(c.base, true, c.limit), c.expected) << narrow(c.expected);
  }
  EXPECT_EQ(PageWriter::displayName(u"a long name, kept whole", false), u"a long name, kept whole");
}

TEST(PageWriter, SizeTexts) {
  EXPECT_EQ(PageWriter::sizeText(0, u"k"), u"1k");
  EXPECT_EQ(PageWriter::sizeText(1023, u"k"), u"1k");
  EXPECT_EQ(PageWriter::sizeText(1024, u"k"), u"2k");
  EXPECT_EQ(PageWriter::sizeText(1048576, u"KB"), u"1025KB");
  EXPECT_EQ(PageWriter::sizeText(5ull << 32, u"k"), u"20971521k") << "sizes beyond 4 GiB are not cut";
}

TEST(PageWriter, HugeCellWidthDoesNotOverflow) {
  const auto page = lines(PageWriter::buildTilePage(u"", {}, 2147483647));
  EXPECT_EQ(narrow(page[90]), "window.thumb.cellWidth = 2147483652");
}

}  // namespace
