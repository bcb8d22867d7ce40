#include "s/str/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using s::str::naturalLess;

TEST(NaturalOrder, NumbersByValueAndLettersWithoutCase) {
  std::vector<std::u16string> names = {u"IMG_10.jpg", u"img_2.jpg", u"IMG_1.jpg", u"b.png", u"A.png",
                                       u"IMG_02.jpg", u"IMG_2.jpg", u"IMG_9.jpg", u"10", u"9", u"x", u""};
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return naturalLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"9", u"10", u"A.png", u"b.png", u"IMG_1.jpg", u"IMG_02.jpg",
                                                u"IMG_2.jpg", u"img_2.jpg", u"IMG_9.jpg", u"IMG_10.jpg", u"x"}));
}

TEST(NaturalOrder, IsAStrictWeakOrderOverMixedNames) {
  // Irreflexive, asymmetric and transitive over every triple of a small domain.
  const std::vector<std::u16string> domain = {u"a", u"A", u"a1", u"a01", u"a001", u"a2", u"a10", u"a1b",
                                              u"1", u"01", u"0", u"00", u"a 1", u"ä", u"Ä", u"a0"};
  for (const auto& x : domain) {
    EXPECT_FALSE(naturalLess(x, x));
    for (const auto& y : domain) {
      if (naturalLess(x, y)) EXPECT_FALSE(naturalLess(y, x));
      for (const auto& z : domain) {
        if (naturalLess(x, y) && naturalLess(y, z)) EXPECT_TRUE(naturalLess(x, z));
      }
    }
  }
}

}  // namespace
