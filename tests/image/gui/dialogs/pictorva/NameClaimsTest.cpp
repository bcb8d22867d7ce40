#include "s/image/gui/dialogs/pictorva/NameClaims.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using s::image::gui::dialogs::pictorva::NameClaims;

std::vector<std::u16string> claimAll(const std::vector<std::u16string>& names) {
  NameClaims claims;
  std::vector<std::u16string> given;
  for (const std::u16string& name : names) given.push_back(claims.claim(name));
  return given;
}

TEST(NameClaims, EachNameIsGivenOnceAndLaterOnesAreNumbered) {
  struct Case {
    std::vector<std::u16string> asked;
    std::vector<std::u16string> given;
  };
  const Case cases[] = {
      {{u"a.gif", u"b.gif"}, {u"a.gif", u"b.gif"}},  // nothing equal: every name as it is
      {{u"x.gif", u"x.gif", u"x.gif"}, {u"x.gif", u"x (1).gif", u"x (2).gif"}},
      // A dropped "x (1).gif" keeps its name; the second x.gif takes the next free one.
      {{u"x (1).gif", u"x.gif", u"x.gif"}, {u"x (1).gif", u"x.gif", u"x (2).gif"}},
      {{u"notes", u"notes"}, {u"notes", u"notes (1)"}},  // no extension
      {{u"a.tar.gz", u"a.tar.gz"}, {u"a.tar.gz", u"a.tar (1).gz"}},  // the number goes before the last dot
      {{u"IMG_0001.JPG", u"IMG_0001.HEIC", u"IMG_0001.JPG"}, {u"IMG_0001.JPG", u"IMG_0001.HEIC", u"IMG_0001 (1).JPG"}},
  };
  for (const Case& c : cases) EXPECT_EQ(claimAll(c.asked), c.given);
}

TEST(NameClaims, LetterCaseCountsAsTheFileSystemCountsIt) {
  const std::vector<std::u16string> given = claimAll({u"Photo.JPG", u"photo.jpg"});
#ifdef _WIN32
  // One file on Windows: the second is numbered, keeping its own letters.
  EXPECT_EQ(given, (std::vector<std::u16string>{u"Photo.JPG", u"photo (1).jpg"}));
#else
  EXPECT_EQ(given, (std::vector<std::u16string>{u"Photo.JPG", u"photo.jpg"}));
#endif
  NameClaims claims;
  claims.claim(u"Ä.png");
  EXPECT_TRUE(claims.isTaken(u"Ä.png"));
  EXPECT_FALSE(claims.isTaken(u"B.png"));
}

}  // namespace
