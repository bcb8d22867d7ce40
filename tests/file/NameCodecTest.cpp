#include "s/file/NameCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::file::NameCodec;

TEST(NameCodec, RoundTripsEveryByteString) {
  const std::string cases[] = {
      "plain.jpg",
      "caf\xC3\xA9",                // é
      "\xE7\x8C\xAB\xF0\x9F\x98\xBA",  // 猫😺
      "bad\xFF\xFEname",            // bytes that are never UTF-8
      "latin1 caf\xE9.jpg",         // a Latin-1 name
      "\xC3",                       // a truncated sequence at the end
      "\xE0\x80\xAF",               // an overlong "/"
      "\xED\xA0\x80",               // an encoded surrogate
      "\xF4\x90\x80\x80",           // past U+10FFFF
  };
  for (const auto& bytes : cases) {
    SCOPED_TRACE(bytes);
    std::u16string text;
    NameCodec::decode(bytes, &text);
    std::string again;
    ASSERT_TRUE(NameCodec::encode(text, &again));
    EXPECT_EQ(again, bytes);
  }
}

TEST(NameCodec, InvalidBytesBecomeLoneSurrogates) {
  std::u16string text;
  NameCodec::decode("a\xFF\xC3\xA9", &text);
  EXPECT_EQ(text, u"a\xDCFF\u00E9");
}

TEST(NameCodec, TextsWithoutAByteFormAreRefused) {
  std::string bytes;
  const std::u16string refused[] = {
      std::u16string(u"a\xD800"),        // high surrogate alone
      std::u16string(u"\xDC41"),         // a low surrogate that is no escaped byte
      std::u16string(u"\xDCC3\xDCA9"),   // escapes that would spell a valid "é"
      std::u16string(u"a\0b", 3),        // a zero unit
  };
  for (const auto& text : refused) EXPECT_FALSE(NameCodec::encode(text, &bytes));
  EXPECT_TRUE(NameCodec::encode(u"\xD83D\xDE3A", &bytes));
  EXPECT_EQ(bytes, "\xF0\x9F\x98\xBA");
}

}  // namespace
