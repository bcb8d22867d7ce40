// The album page: escaping for each place a name goes, the element of a picture,
// the holes of the template, the words and the language.
#include "s/image/gui/dialogs/pictorva/AlbumPage.h"

#include <gtest/gtest.h>

#include <string>

#include "s/image/gui/dialogs/pictorva/AlbumWords.h"
#include "s/image/gui/dialogs/pictorva/PageEscapes.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::image::gui::dialogs::pictorva::AlbumPage;
using s::image::gui::dialogs::pictorva::GalleryRow;
using s::image::gui::dialogs::pictorva::AlbumWords;
using s::image::gui::dialogs::pictorva::PageEscapes;

std::string utf8(std::u16string_view text) { return s::str::strbuffer::StrBuffer(text).toUtf8(); }

// Reads a link segment back as a browser does: %XX as bytes, the rest as itself.
std::string unpercent(const std::string& link) {
  std::string out;
  for (size_t i = 0; i < link.size(); ++i) {
    if (link[i] == '%' && i + 2 < link.size()) {
      out.push_back(static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(link[i]);
    }
  }
  return out;
}

// Reads an attribute value back as the HTML parser does for the references written.
std::string unreference(std::string text) {
  const std::pair<std::string, std::string> references[] = {
      {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&#13;", "\r"}, {"&#10;", "\n"}, {"&#9;", "\t"}, {"&amp;", "&"}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool found = false;
    for (const auto& [reference, character] : references) {
      if (text.compare(i, reference.size(), reference) == 0) {
        out += character;
        i += reference.size();
        found = true;
        break;
      }
    }
    if (!found) out.push_back(text[i++]);
  }
  return out;
}

// Names a file system may give: quotes, markup, references, the URL's own
// characters, a backslash, line breaks, emoji, right-to-left text.
const std::u16string kHostileNames[] = {
    u"quote\"double.jpg", u"it's.jpg", u"<img src=x onerror=alert(1)>.jpg", u"a&amp;b.jpg", u"#hash.jpg",
    u"100%.jpg", u"%20.jpg", u"why?.jpg", u"back\\slash.jpg", u"line\nbreak\r.jpg", u"tab\there.jpg",
    u"emoji \U0001F600\U0001F389.jpg", u"\u05E9\u05DC\u05D5\u05DD.jpg", u"a,b 2x.jpg", u"semi;colon=1+2/3.jpg",
    u"\u202Eevil\u202C.jpg", u"</script><script>.jpg", u"caf\u00E9 \u65E5\u672C.jpg",
};

TEST(PageEscapes, EveryNameReadsBackFromItsPlace) {
  for (const std::u16string& name : kHostileNames) {
    std::u16string link, attribute, text;
    PageEscapes::appendUrlSegment(link, name);
    PageEscapes::appendAttribute(attribute, name);
    PageEscapes::appendText(text, name);
    const std::string linkBytes = utf8(link);
    // A segment holds nothing that ends or splits a link, an attribute or a srcset.
    EXPECT_EQ(linkBytes.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~()%"),
              std::string::npos)
        << linkBytes;
    EXPECT_EQ(unpercent(linkBytes), utf8(name)) << linkBytes;
    const std::string attributeBytes = utf8(attribute);
    EXPECT_EQ(attributeBytes.find_first_of("\"<>\r\n"), std::string::npos) << attributeBytes;
    EXPECT_EQ(unreference(attributeBytes), utf8(name));
    EXPECT_EQ(utf8(text).find_first_of("<>"), std::string::npos);
  }
}

TEST(PageEscapes, LinksEncodeEachCodePointAsUtf8) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"IMG (300x200).jpg", u"IMG%20(300x200).jpg"},
      {u"%20", u"%2520"},
      {u"\u00E9", u"%C3%A9"},
      {u"\u65E5", u"%E6%97%A5"},
      {u"\U0001F600", u"%F0%9F%98%80"},
      {u"a\\b/c", u"a%5Cb%2Fc"},
      {std::u16string(1, char16_t{0xD800}) + u"x", u"%EF%BF%BDx"},  // a lone surrogate: U+FFFD
      {u"x" + std::u16string(1, char16_t{0xDC00}), u"x%EF%BF%BD"},
  };
  for (const auto& [name, link] : cases) {
    std::u16string out;
    PageEscapes::appendUrlSegment(out, name);
    EXPECT_EQ(utf8(out), utf8(link));
  }
}

TEST(AlbumPage, RatiosHaveAtMostFourDecimals) {
  EXPECT_EQ(AlbumPage::ratioText(300, 200), u"1.5");
  EXPECT_EQ(AlbumPage::ratioText(200, 300), u"0.6667");
  EXPECT_EQ(AlbumPage::ratioText(400, 400), u"1");
  EXPECT_EQ(AlbumPage::ratioText(16000, 1), u"16000");
  EXPECT_EQ(AlbumPage::ratioText(1, 10000), u"0.0001");
  EXPECT_EQ(AlbumPage::ratioText(1, 30000), u"0");
  EXPECT_EQ(AlbumPage::ratioText(201, 200), u"1.005");
  EXPECT_EQ(AlbumPage::ratioText(0, 200), u"1");  // an empty picture keeps the grid whole
}

TEST(AlbumPage, APictureLinksToItsDisplayCopyAndNamesItsOriginal) {
  GalleryRow picture;
  picture.sourceName = picture.imgName = u"big #1.jpg";
  picture.sourceWidth = 4000;
  picture.sourceHeight = 3000;
  picture.sourceSize = 12345678;
  picture.taken = u"2013-08-14";
  picture.displayName = u"big #1 (2048x1536).jpg";
  picture.smallName = u"big #1 (267x200).jpg";
  picture.smallWidth = 267;
  picture.smallHeight = 200;
  picture.largeName = u"big #1 (533x400).jpg";
  std::u16string out;
  AlbumPage::appendPicture(out, picture);
  EXPECT_EQ(utf8(out),
            "<a href=\"simg/big%20%231%20(2048x1536).jpg\" data-m=\"4000 3000 12345678 2013-08-14\" "
            "data-o=\"big%20%231.jpg\" style=\"--r:1.335\"><img src=\"simg/big%20%231%20(267x200).jpg\" "
            "srcset=\"simg/big%20%231%20(533x400).jpg 2x\" width=\"267\" height=\"200\" alt=\"big #1\" "
            "loading=\"lazy\"></a>\n");

  // Shown as it is, a picture links to its original and needs no second name.
  GalleryRow small;
  small.sourceName = small.imgName = u".hidden";
  small.sourceWidth = small.smallWidth = 150;
  small.sourceHeight = small.smallHeight = 100;
  small.smallName = u".hidden (150x100).jpg";
  out.clear();
  AlbumPage::appendPicture(out, small);
  EXPECT_EQ(utf8(out),
            "<a href=\"img/.hidden\" data-m=\"150 100 0\" style=\"--r:1.5\"><img src=\"simg/.hidden%20(150x100).jpg\" "
            "width=\"150\" height=\"100\" alt=\".hidden\" loading=\"lazy\"></a>\n");
}

TEST(AlbumPage, ThePageFillsEveryHoleWithEscapedText) {
  AlbumWords words = AlbumWords::of(u"ara", nullptr);
  words.close = u"Close \"now\" & <go>";
  GalleryRow picture;
  picture.sourceName = picture.imgName = u"a.jpg";
  picture.smallName = u"a (300x200).jpg";
  picture.smallWidth = 300;
  picture.smallHeight = 200;
  const std::string page =
      utf8(AlbumPage::page(u"</title><script>x</script> & \"q\"", {picture, picture}, 5000, words));
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"ar\" dir=\"rtl\">", 0), 0u);
  EXPECT_NE(page.find("<title>&lt;/title&gt;&lt;script&gt;x&lt;/script&gt; &amp; \"q\"</title>"), std::string::npos);
  EXPECT_NE(page.find("aria-label=\"Close &quot;now&quot; &amp; &lt;go&gt;\""), std::string::npos);
  EXPECT_NE(page.find("--h:1024px"), std::string::npos) << "the row height is brought within its limits";
  EXPECT_NE(page.find("@media (prefers-color-scheme:dark)"), std::string::npos) << "what is not a hole stays";
  for (const char* hole : {"@LANG@", "@DIR@", "@TITLE@", "@ROW@", "@PICTURES@", "@CLOSE@", "@PREVIOUS@", "@NEXT@",
                           "@DOWNLOAD@", "@TAKEN@"}) {
    EXPECT_EQ(page.find(hole), std::string::npos) << hole;
  }
  size_t pictures = 0;
  for (size_t at = page.find("<a href=\"img/a.jpg\""); at != std::string::npos; at = page.find("<a href=\"img/a.jpg\"", at + 1))
    ++pictures;
  EXPECT_EQ(pictures, 2u);
  // Nothing leaves the gallery folder.
  EXPECT_EQ(page.find("http:"), std::string::npos);
  EXPECT_EQ(page.find("https:"), std::string::npos);
  EXPECT_EQ(page.find("//cdn"), std::string::npos);
}

TEST(AlbumWords, EveryPackHasItsStandardTag) {
  const std::pair<std::u16string, std::u16string> tags[] = {
      {u"eng", u"en"}, {u"jpn", u"ja"}, {u"zhs", u"zh-Hans"}, {u"zht", u"zh-Hant"}, {u"cze", u"cs"},
      {u"cpn", u"sr-Cyrl"}, {u"srp", u"sr-Latn"}, {u"bra", u"pt-BR"}, {u"per", u"fa"}, {u"JPN", u"ja"},
      {u"xyz", u"en"}, {u"", u"en"},
  };
  for (const auto& [pack, standard] : tags) EXPECT_EQ(AlbumWords::standardTag(pack), standard) << utf8(pack);
  EXPECT_TRUE(AlbumWords::isRightToLeft(u"ara"));
  EXPECT_TRUE(AlbumWords::isRightToLeft(u"per"));
  EXPECT_FALSE(AlbumWords::isRightToLeft(u"eng"));
  // A text the pack lacks keeps the English word.
  const AlbumWords words = AlbumWords::of(u"deu", [](int32_t id) {
    return id == AlbumWords::kNextText ? std::u16string(u"Weiter") : std::u16string();
  });
  EXPECT_EQ(words.next, u"Weiter");
  EXPECT_EQ(words.previous, u"Previous");
  EXPECT_EQ(words.languageTag, u"de");
}

}  // namespace
