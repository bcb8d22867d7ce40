#include "s/str/strbuffer/StrBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/base/IComparator.h"
#include "s/str/strbuffer/Iterator.h"

namespace {

using s::str::strbuffer::StrBuffer;
constexpr size_t kAll = StrBuffer::kAll;

int signOf(int value) { return (value > 0) - (value < 0); }

// --- Object protocol -------------------------------------------------------------

TEST(StrBuffer, HashCodesOfKnownTexts) {
  struct Case {
    std::u16string text;
    uint32_t hash;
    uint32_t hashIgnoringCase;
  };
  const Case cases[] = {
      {u"", 0, 0},
      {u"a", 0x61, 0x61},
      {u"ab", 0xA0, 0xA0},  // (0x61 << 1) ^ 0x62
      {u"AB", (0x41u << 1) ^ 0x42u, 0xA0},
      {u"abc", (0xA0u << 1) ^ 0x63u, (0xA0u << 1) ^ 0x63u},
      // Only A-Z fold for the case-insensitive hash, so É keeps its unit.
      {u"\u00C9", 0xC9, 0xC9},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_EQ(text.hashCode(), c.hash) << text.toUtf8();
    EXPECT_EQ(text.hashCodeIgnoreCase(), c.hashIgnoringCase) << text.toUtf8();
  }
}

TEST(StrBuffer, HashRotatesTheTopBitIntoBitZero) {
  // A 1 followed by zeros: each further unit moves the bit one place left, and the
  // 32nd move brings it round to bit 0 (a rotation, not a plain shift).
  std::u16string text(32, u'\0');
  text[0] = 1;
  StrBuffer rotated(text);  // bit 0 shifted left 31 times, then XOR 0 each time
  EXPECT_EQ(rotated.hashCode(), 0x80000000u);
  text.push_back(u'\0');
  StrBuffer wrapped(text);
  EXPECT_EQ(wrapped.hashCode(), 1u) << "the top bit comes back as bit 0";
}

TEST(StrBuffer, CompareOrdersByMemoryBytesThenLength) {
  struct Case {
    std::u16string a;
    std::u16string b;
    int expected;
  };
  const Case cases[] = {
      {u"a", u"ab", -1},
      {u"b", u"ab", 1},
      {u"", u"", 0},
      {u"", u"a", -1},
      {u"abc", u"abc", 0},
      // Memory order on little-endian machines: the low byte decides first, so
      // U+0100 (bytes 00 01) sorts before U+00FF (bytes FF 00).
      {u"\u0100", u"\u00FF", -1},
  };
  for (const Case& c : cases) {
    StrBuffer a(c.a);
    StrBuffer b(c.b);
    EXPECT_EQ(signOf(a.compareTo(&b)), c.expected) << a.toUtf8() << " vs " << b.toUtf8();
    EXPECT_EQ(signOf(b.compareTo(&a)), -c.expected);
    EXPECT_EQ(a.equals(&b), c.expected == 0);
  }
}

TEST(StrBuffer, CompareIgnoringCaseUsesThePlatformMapping) {
  struct Case {
    std::u16string a;
    std::u16string b;
    int expected;
  };
  const Case cases[] = {
      {u"abc", u"ABC", 0},
      {u"\u00C9cole", u"\u00E9COLE", 0},  // École / éCOLE
      {u"\u0416", u"\u0436", 0},          // Ж / ж
      {u"\u0394\u03A3", u"\u03B4\u03C3", 0},  // ΔΣ / δσ
      {u"a", u"AB", -1},
      {u"B", u"a", 1},
      {u"\u00E9", u"f", 1},  // é (after folding) is above 'f'
      {u"x\xD800", u"X\xD800", 0},  // surrogates map to themselves
  };
  for (const Case& c : cases) {
    StrBuffer a(c.a);
    StrBuffer b(c.b);
    EXPECT_EQ(signOf(a.compareToIgnoreCase(&b)), c.expected) << a.toUtf8() << " vs " << b.toUtf8();
    EXPECT_EQ(a.equalsIgnoreCase(&b), c.expected == 0) << a.toUtf8();
  }
}

TEST(StrBuffer, ComparatorTakesOverWhenGiven) {
  struct Reversed final : s::base::IComparator {
    int compare(const void* a, const void* b) const override {
      return -static_cast<const StrBuffer*>(a)->compareTo(static_cast<const StrBuffer*>(b));
    }
  } reversed;
  StrBuffer a(u"a");
  StrBuffer b(u"b");
  EXPECT_LT(a.compareTo(&b), 0);
  EXPECT_GT(a.compareTo(&b, &reversed), 0);
  EXPECT_FALSE(a.equals(&b, &reversed));
}

TEST(StrBuffer, PoolHandsBackEmptyTextsWithTheirName) {
  StrBuffer* text = StrBuffer::create();
  text->append(u"left over");
  text->release();
  auto again = s::thread::make<StrBuffer>();
  EXPECT_EQ(again->length(), 0u);
  EXPECT_EQ(again->capacity(), 0u) << "reset frees the block";
  EXPECT_EQ(std::u16string(again->getRegistrationName()), u"s_str_strbuffer_StrBuffer");
  s::base::IObject* fresh = again->newInstance();
  EXPECT_NE(dynamic_cast<StrBuffer*>(fresh), nullptr);
  dynamic_cast<StrBuffer*>(fresh)->release();
}

// --- Storage and growth ------------------------------------------------------------

TEST(StrBuffer, GrowthFollowsTheSharedSteps) {
  StrBuffer text;
  EXPECT_EQ(text.capacity(), 0u);
  text.append(u'x');
  EXPECT_EQ(text.capacity(), 100u) << "the first unit grows an empty text to 100";
  for (int i = 1; i < 100; ++i) text.append(u'x');
  EXPECT_EQ(text.capacity(), 100u) << "single units grow only when full";
  text.append(u'x');
  EXPECT_EQ(text.capacity(), 300u);
  // Appending many units steps repeatedly: 300 -> 900 -> 2700.
  text.append(std::u16string(2000, u'y'));
  EXPECT_EQ(text.capacity(), 2700u);
  EXPECT_EQ(text.length(), 2101u);

  StrBuffer exact;
  exact.reserve(7);
  EXPECT_EQ(exact.capacity(), 7u) << "reserve grows to exactly n";
  exact.reserve(3);
  EXPECT_EQ(exact.capacity(), 7u);
  exact.growOneStep();
  EXPECT_EQ(exact.capacity(), 100u);
  exact.ensureCapacity(101);
  EXPECT_EQ(exact.capacity(), 300u);
}

TEST(StrBuffer, DataIsZeroTerminatedAndEmptyTextsShareOne) {
  StrBuffer empty;
  EXPECT_EQ(empty.data()[0], u'\0');
  StrBuffer text(u"abc");
  text.reserve(3);
  const char16_t* terminated = text.data();
  EXPECT_EQ(std::u16string(terminated), u"abc");
  text.clear();
  EXPECT_EQ(text.data()[0], u'\0');
  EXPECT_EQ(text.capacity(), 100u) << "clear keeps the block";
  text.freeStorage();
  EXPECT_EQ(text.capacity(), 0u);
}

TEST(StrBuffer, SetLengthBeyondCapacityZeroFills) {
  StrBuffer text(u"ab");
  text.setLength(150);
  ASSERT_GE(text.capacity(), 150u);
  EXPECT_EQ(text.unitAt(149), 0);
  text.setLength(1);
  EXPECT_EQ(text.view(), u"a");
}

TEST(StrBuffer, AppendingAPartOfItselfSurvivesGrowth) {
  StrBuffer text(std::u16string(100, u'a'));
  ASSERT_EQ(text.capacity(), 100u);
  text.append(text.view());  // the source moves when the block grows
  EXPECT_EQ(text.view(), std::u16string(200, u'a'));
  text.assign(u"hello world");
  text.prepend(text.view().substr(6));
  EXPECT_EQ(text.view(), u"worldhello world");
  text.assign(text.view().substr(5, 5));
  EXPECT_EQ(text.view(), u"hello");
}

TEST(StrBuffer, BuildingOperations) {
  StrBuffer text;
  text.appendLatin1("caf\xE9");
  EXPECT_EQ(text.view(), u"caf\u00E9");
  text.prepend(u">");
  text.append(u'<');
  EXPECT_EQ(text.view(), u">caf\u00E9<");
  text.reverse();
  EXPECT_EQ(text.view(), u"<\u00E9fac>");
  text.keepRange(1, 4);
  EXPECT_EQ(text.view(), u"\u00E9fa");
  text.keepRange(2, 99);
  EXPECT_EQ(text.view(), u"a");
  text = u"MIXED case";
  text.capitalize();
  EXPECT_EQ(text.view(), u"Mixed case");
  text.toUpperCase();
  EXPECT_EQ(text.view(), u"MIXED CASE");
  text = u"\u00E9t\u00E9";
  text.capitalize();  // é is not a-z: only lower-cased
  EXPECT_EQ(text.view(), u"\u00E9t\u00E9");
  text.toUpperCase();
  EXPECT_EQ(text.view(), u"\u00C9T\u00C9");
}

TEST(StrBuffer, NewTexts) {
  StrBuffer path(u"a\\b\\c");
  EXPECT_EQ(path.prefixBeforeLast(u'\\')->view(), u"a\\b");
  EXPECT_EQ(StrBuffer(u"abc").prefixBeforeLast(u'\\')->view(), u"");
  EXPECT_EQ(path.prefixBeforeLast(u"\\b")->view(), u"a");
  EXPECT_EQ(path.prefixBeforeLastAnyOf(u"/\\")->view(), u"a\\b");
  EXPECT_EQ(StrBuffer(u"x.JPG.jpg").prefixBeforeLastIgnoreCase(u".JPG")->view(), u"x.JPG");
  EXPECT_EQ(StrBuffer(u"aXbx").prefixBeforeLastIgnoreCase(u'X')->view(), u"aXb");
  EXPECT_EQ(path.substring(2)->view(), u"b\\c");
  EXPECT_EQ(path.substring(2, 99)->view(), u"b\\c");
  EXPECT_EQ(path.substring(4, 2)->view(), u"");
  auto copy = path.clone();
  EXPECT_TRUE(copy->equals(&path));
  EXPECT_NE(copy.get(), &path);
}

// --- Searching ---------------------------------------------------------------------

TEST(StrBuffer, ForwardSearches) {
  StrBuffer text(u"Hello, World");  // H0 e1 l2 l3 o4 ,5 ' '6 W7 o8 r9 l10 d11
  struct Case {
    const char* what;
    bool found;
    size_t at;
  };
  size_t at = 0;
  auto check = [&](const Case& c, bool found) {
    EXPECT_EQ(found, c.found) << c.what;
    if (found && c.found) {
      EXPECT_EQ(at, c.at) << c.what;
    }
  };
  check({"unit", true, 2}, text.findUnit(u'l', 0, &at));
  check({"unit from 4", true, 10}, text.findUnit(u'l', 4, &at));
  check({"unit past end", false, 0}, text.findUnit(u'l', 99, &at));
  check({"unit ignoring case", true, 7}, text.findUnitIgnoreCase(u'w', 0, &at));
  check({"any of", true, 4}, text.findAnyOf(u"ro", 0, &at));
  check({"any of ignoring case", true, 0}, text.findAnyOfIgnoreCase(u"xh", 0, &at));
  check({"text", true, 8}, text.find(u"orl", 0, &at));
  check({"text ignoring case", true, 7}, text.findIgnoreCase(u"WORLD", 0, &at));
  check({"text absent", false, 0}, text.find(u"world", 0, &at));
  check({"text longer than rest", false, 0}, text.find(u"World!", 7, &at));
  check({"empty text", true, 5}, text.find(u"", 5, &at));
}

TEST(StrBuffer, BackwardSearches) {
  StrBuffer text(u"abcabcABC");
  size_t at = 0;
  struct Case {
    const char* what;
    bool found;
    size_t at;
  };
  auto check = [&](const Case& c, bool found) {
    EXPECT_EQ(found, c.found) << c.what;
    if (found && c.found) {
      EXPECT_EQ(at, c.at) << c.what;
    }
  };
  check({"unit from end", true, 4}, text.findLastUnit(u'b', StrBuffer::kFromEnd, &at));
  check({"unit from 3", true, 1}, text.findLastUnit(u'b', 3, &at));
  check({"unit at start", true, 4}, text.findLastUnit(u'b', 4, &at));
  check({"unit from 0", false, 0}, text.findLastUnit(u'b', 0, &at));
  check({"unit beyond end", true, 4}, text.findLastUnit(u'b', 50, &at));
  check({"unit ignoring case", true, 7}, text.findLastUnitIgnoreCase(u'b', StrBuffer::kFromEnd, &at));
  check({"any of", true, 5}, text.findLastAnyOf(u"cb", StrBuffer::kFromEnd, &at));
  check({"any of ignoring case", true, 8}, text.findLastAnyOfIgnoreCase(u"cb", StrBuffer::kFromEnd, &at));
  check({"text", true, 3}, text.findLast(u"abc", StrBuffer::kFromEnd, &at));
  check({"text before 2", true, 0}, text.findLast(u"abc", 2, &at));
  check({"text ignoring case", true, 6}, text.findLastIgnoreCase(u"aBc", StrBuffer::kFromEnd, &at));
  check({"text too long", false, 0}, text.findLast(u"abcabcABCx", StrBuffer::kFromEnd, &at));
  StrBuffer empty;
  EXPECT_FALSE(empty.findLastUnit(u'a'));
  EXPECT_FALSE(empty.findLastAnyOf(u"a"));
}

TEST(StrBuffer, RegionTests) {
  StrBuffer text(u"Gallery.HTML");
  EXPECT_TRUE(text.regionEquals(0, u"xGall", 1, 4));
  EXPECT_FALSE(text.regionEquals(0, u"xGall", 1, 5)) << "range runs past the other text";
  EXPECT_TRUE(text.regionEquals(8, u"HTML"));
  EXPECT_FALSE(text.regionEquals(8, u"HTM")) << "with kAll the rest must match exactly";
  EXPECT_FALSE(text.regionEquals(13, u""));
  EXPECT_TRUE(text.regionEqualsIgnoreCase(7, u".html"));
  EXPECT_TRUE(text.endsWithIgnoreCase(u".html"));
  EXPECT_FALSE(text.endsWith(u".html"));
  EXPECT_TRUE(text.startsWith(u"Gall"));
  EXPECT_TRUE(text.startsWithIgnoreCase(u"gALL"));
  EXPECT_FALSE(text.startsWith(u"Gallery.HTML+"));
  EXPECT_TRUE(StrBuffer(u"\u00C9T\u00C9.txt").startsWithIgnoreCase(u"\u00E9t\u00E9"));

  EXPECT_EQ(text.compareFrom(8, u"HTML"), 0);
  EXPECT_EQ(text.compareFrom(8, u"HTMLX"), -1);
  EXPECT_EQ(text.compareFrom(0, u"Gaz", 2), 0) << "first n units only";
  EXPECT_EQ(text.compareFromIgnoreCase(8, u"html"), 0);
  EXPECT_EQ(text.compareFrom(13, u""), -1) << "index beyond the end";
  EXPECT_EQ(text.compareFrom(12, u""), 0);
}

// --- Trimming, replacing, splitting helpers ------------------------------------------

TEST(StrBuffer, Trimming) {
  struct Case {
    std::u16string text;
    std::u16string right;
    std::u16string left;
  };
  const Case cases[] = {
      {u"  x \u3000", u"  x", u"x \u3000"},
      {u"\t\r\n x\r\n", u"\t\r\n x", u"x\r\n"},
      {u" \u3000 ", u"", u""},
      {u"", u"", u""},
      {u"\u00A0x\u00A0", u"\u00A0x\u00A0", u"\u00A0x\u00A0"},  // no-break space is not trimmed
  };
  for (const Case& c : cases) {
    StrBuffer right(c.text);
    right.trimRight();
    EXPECT_EQ(right.view(), c.right);
    StrBuffer left(c.text);
    left.trimLeft();
    EXPECT_EQ(left.view(), c.left);
  }
  StrBuffer text(u"ab   ");
  text.trimRight(3);
  EXPECT_EQ(text.view(), u"ab ") << "never below the given length";
  text = u"--x--";
  text.trimRightOf(u"-");
  text.trimLeftOf(u"-");
  EXPECT_EQ(text.view(), u"x");
  text = u"x----";
  text.trimRightOf(u"-", 2);
  EXPECT_EQ(text.view(), u"x-");
}

TEST(StrBuffer, ReplaceAll) {
  struct Case {
    std::u16string text;
    std::u16string from;
    std::u16string to;
    bool ignoreCase;
    std::u16string expected;
    size_t count;
  };
  const Case cases[] = {
      {u"a-b-c", u"-", u"+", false, u"a+b+c", 2},
      {u"a-b-c", u"-", u"--", false, u"a--b--c", 2},
      {u"aaaa", u"aa", u"b", false, u"bb", 2},
      {u"aaa", u"aa", u"aaa", false, u"aaaa", 1},  // never re-scans replaced text
      {u"xAbab", u"AB", u"-", true, u"x--", 2},
      {u"xAbab", u"AB", u"--", true, u"x----", 2},
      {u"none", u"z", u"y", false, u"none", 0},
      {u"abc", u"", u"y", false, u"abc", 0},
      {u"abc", u"b", u"", false, u"ac", 1},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    const size_t count = c.ignoreCase ? text.replaceAllIgnoreCase(c.from, c.to) : text.replaceAll(c.from, c.to);
    EXPECT_EQ(text.view(), c.expected) << text.toUtf8();
    EXPECT_EQ(count, c.count) << text.toUtf8();
  }
  StrBuffer self(u"abab");
  self.replaceAll(self.view().substr(0, 1), self.view().substr(1, 1));  // views into itself
  EXPECT_EQ(self.view(), u"bbbb");
}

// --- Streams and iterators -----------------------------------------------------------

TEST(StrBuffer, StreamReadsAndWritesTheUnitBytes) {
  StrBuffer text;
  const char bytes[] = {'h', 0, 'i', 0};
  size_t count = 0;
  EXPECT_TRUE(text.write(bytes, sizeof bytes, &count));
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(text.view(), u"hi");
  // Past the end: the gap is zeroed and a half-written unit keeps a zero high byte.
  ASSERT_TRUE(text.seek(8));
  EXPECT_TRUE(text.write("!", 1, &count));
  EXPECT_EQ(text.view(), std::u16string_view(u"hi\0\0!", 5));
  text.rewind();
  char back[16] = {};
  EXPECT_TRUE(text.read(back, sizeof back, &count));
  EXPECT_EQ(count, 10u);
  EXPECT_EQ(back[0], 'h');
  EXPECT_EQ(back[8], '!');
  EXPECT_FALSE(text.read(back, 1, &count)) << "nothing left";
  EXPECT_EQ(count, 0u);
  ASSERT_TRUE(text.seek(100));
  EXPECT_FALSE(text.read(back, 1, &count));
  EXPECT_FALSE(text.seek(-1));
}

TEST(StrBuffer, IteratorsWalkBothWays) {
  StrBuffer text(u"abc");
  std::u16string forward;
  for (auto it = text.iterator(); it->hasNext();) forward.push_back(*it->next());
  EXPECT_EQ(forward, u"abc");
  std::u16string backward;
  for (auto it = text.iteratorFromEnd(); it->hasPrevious();) backward.push_back(*it->previous());
  EXPECT_EQ(backward, u"cba");
  auto from = text.iteratorBackwardFrom(1);
  EXPECT_EQ(*from->previous(), u'b');
  auto at = text.iteratorAt(1);
  EXPECT_EQ(*at->current(), u'b');
  EXPECT_EQ(*at->skip(1), u'c');
  EXPECT_EQ(at->next(), nullptr) << "off the end";
  EXPECT_EQ(at->index(), 3);
  EXPECT_EQ(std::u16string(at->getRegistrationName()), u"s_str_strbuffer_Iterator");
}

TEST(StrBuffer, Md5DigestsTheUtf16Bytes) {
  auto hexOf = [](const uint8_t* bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < 16; ++i) hex += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
    return hex;
  };
  uint8_t digest[16];
  StrBuffer(u"abc").md5(digest);
  EXPECT_EQ(hexOf(digest), "ce1473cf80c6b3fda8e3dfc006adc315");  // MD5 of 61 00 62 00 63 00
  StrBuffer().md5(digest);
  EXPECT_EQ(hexOf(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

}  // namespace
