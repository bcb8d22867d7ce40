#include <gtest/gtest.h>

#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

std::string bytesOf(const ArrayU08& array) {
  return std::string(reinterpret_cast<const char*>(array.data()), array.getCount());
}

// An array holding stale bytes, so the tests see that conversions replace them.
s::thread::Owned<ArrayU08> staleArray() {
  auto array = s::thread::make<ArrayU08>();
  for (int i = 0; i < 8; ++i) array->append(uint8_t{0xEE});
  return array;
}

TEST(StrBufferBytes, Utf8IntoByteArrays) {
  StrBuffer text(u"\u00E9");
  auto array = staleArray();
  EXPECT_EQ(text.toUtf8(array.get(), true), 3u);
  EXPECT_EQ(bytesOf(*array), std::string("\xC3\xA9\0", 3)) << "the zero byte is counted";
  EXPECT_EQ(text.toUtf8(array.get(), false), 2u);
  EXPECT_EQ(bytesOf(*array), "\xC3\xA9");
  EXPECT_EQ(array->data()[2], 0) << "a zero follows the bytes without being counted";
  StrBuffer empty;
  EXPECT_EQ(empty.toUtf8(array.get(), false), 0u);
  EXPECT_EQ(array->getCount(), 0u);

  StrBuffer hex(u"0aFf1");
  EXPECT_EQ(hex.hexToBytes(array.get()), 2u);
  EXPECT_EQ(bytesOf(*array), "\x0a\xff");
}

TEST(StrBufferBytes, CodePages) {
  struct Case {
    uint32_t codePage;
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {StrBuffer::kCodePageUtf16Le, u"\u00E9A", std::string("\xE9\0A\0", 4)},
      {StrBuffer::kCodePageUtf16Be, u"\u00E9A", std::string("\0\xE9\0A", 4)},
      {StrBuffer::kCodePageUtf8, u"\u00E9\U0001F600", "\xC3\xA9\xF0\x9F\x98\x80"},
      {1252, u"caf\u00E9 \u20AC", "caf\xE9 \x80"},
      {1251, u"\u0416\u0436", "\xC6\xE6"},
      {932, u"\u65E5\u672C", "\x93\xFA\x96\x7B"},
      {28591, u"\u00FF", "\xFF"},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    std::string bytes;
    ASSERT_TRUE(text.toCodePage(c.codePage, bytes)) << c.codePage;
    EXPECT_EQ(bytes, c.bytes) << c.codePage;
    StrBuffer back;
    ASSERT_TRUE(back.assignCodePage(c.codePage, c.bytes)) << c.codePage;
    EXPECT_EQ(back.view(), c.text) << c.codePage;
  }
}

TEST(StrBufferBytes, CodePageEdges) {
  std::string bytes = "kept";
  StrBuffer text(u"x");
  EXPECT_FALSE(text.toCodePage(12345, bytes)) << "an unknown code page";
  EXPECT_EQ(bytes, "kept");
  EXPECT_FALSE(text.assignCodePage(12345, "y"));
  EXPECT_EQ(text.view(), u"x");

  // Characters the code page lacks become '?', never a look-alike.
  StrBuffer foreign(u"\u0416\u0101\xD800");
  ASSERT_TRUE(foreign.toCodePage(1252, bytes));
  EXPECT_EQ(bytes, "???");
  // Half a UTF-16 unit at the end.
  ASSERT_TRUE(text.assignCodePage(StrBuffer::kCodePageUtf16Le, std::string("A\0B", 3)));
  EXPECT_EQ(text.view(), u"A\uFFFD");
  ASSERT_TRUE(text.appendCodePage(StrBuffer::kCodePageUtf8, "\xC3"));
  EXPECT_EQ(text.view(), u"A\uFFFD\uFFFD");

  // The system's default code page carries ASCII unchanged everywhere.
  StrBuffer ascii(u"Gallery 42");
  ASSERT_TRUE(ascii.toCodePage(StrBuffer::kCodePageDefault, bytes));
  EXPECT_EQ(bytes, "Gallery 42");

  auto array = staleArray();
  ASSERT_TRUE(ascii.toCodePage(StrBuffer::kCodePageUtf16Le, array.get(), true));
  EXPECT_EQ(array->getCount(), 22u) << "a UTF-16 terminator is two zero bytes";
  EXPECT_EQ(array->data()[20], 0);
  EXPECT_EQ(array->data()[21], 0);
  ASSERT_TRUE(ascii.toCodePage(1252, array.get(), false));
  EXPECT_EQ(bytesOf(*array), "Gallery 42");
  EXPECT_EQ(array->data()[10], 0);
}

}  // namespace
