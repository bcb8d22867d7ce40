#include "s/str/strbuffer/Utf8.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;
using s::str::strbuffer::Utf8Mode;

// A plain reference encoder for one scalar value, to check the library against.
void referenceEncode(uint32_t scalar, std::string& out) {
  if (scalar < 0x80) {
    out.push_back(static_cast<char>(scalar));
  } else if (scalar < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else if (scalar < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  }
}

// Decodes from a heap block of exactly the input's size, so that AddressSanitizer
// catches any read past the end.
std::u16string decodeExact(const std::string& bytes, Utf8Mode mode) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  std::u16string units(bytes.size(), u'\0');
  units.resize(s::str::strbuffer::decodeUtf8(exact.get(), bytes.size(), units.data(), mode));
  return units;
}

std::string encode(const std::u16string& units, Utf8Mode mode) {
  std::string bytes(s::str::strbuffer::encodedUtf8Length(units.data(), units.size(), mode), '\0');
  const size_t written = s::str::strbuffer::encodeUtf8(units.data(), units.size(),
                                                       reinterpret_cast<uint8_t*>(bytes.data()), mode);
  EXPECT_EQ(written, bytes.size()) << "the length function and the encoder agree";
  return bytes;
}

TEST(Utf8, EveryScalarValueRoundTrips) {
  std::u16string units;
  std::string expected;
  for (uint32_t scalar = 0; scalar <= 0x10FFFF; ++scalar) {
    if (scalar >= 0xD800 && scalar <= 0xDFFF) continue;
    if (scalar < 0x10000) {
      units.push_back(static_cast<char16_t>(scalar));
    } else {
      units.push_back(static_cast<char16_t>(0xD800 + ((scalar - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((scalar - 0x10000) & 0x3FF)));
    }
    referenceEncode(scalar, expected);
  }
  StrBuffer text(units);
  const std::string bytes = text.toUtf8();
  ASSERT_EQ(bytes.size(), expected.size());
  EXPECT_TRUE(bytes == expected) << "encoding differs from the reference";
  StrBuffer back(bytes);  // std::string_view: decoded as UTF-8
  EXPECT_TRUE(back.view() == text.view()) << "decoding differs";
  EXPECT_EQ(text.toUtf8Lossless(), expected) << "valid text is the same in the lossless mode";
}

TEST(Utf8, MalformedInputGivesOneReplacementPerBadSequence) {
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"truncated 2-byte at end", "\xC3", u"\uFFFD"},
      {"truncated 2-byte", "\xC3" "A", u"\uFFFDA"},
      {"truncated 3-byte at end", "\xE2\x82", u"\uFFFD"},
      {"truncated 3-byte", "\xE2\x82" "A", u"\uFFFDA"},
      {"truncated 4-byte at end", "\xF0\x9F\x98", u"\uFFFD"},
      {"lead then lead", "\xE2\xC3\xA9", u"\uFFFD\u00E9"},
      {"overlong NUL", std::string("\xC0\x80", 2), u"\uFFFD"},
      {"overlong 2-byte", "\xC1\xBF", u"\uFFFD"},
      {"overlong 3-byte", "\xE0\x80\x80", u"\uFFFD"},
      {"overlong 3-byte slash", "\xE0\x80\xAF", u"\uFFFD"},
      {"overlong 4-byte", "\xF0\x80\x80\x80", u"\uFFFD"},
      {"overlong 4-byte BMP", "\xF0\x8F\xBF\xBF", u"\uFFFD"},
      {"surrogate D800", "\xED\xA0\x80", u"\uFFFD"},
      {"surrogate DFFF", "\xED\xBF\xBF", u"\uFFFD"},
      {"surrogate pair in CESU form", "\xED\xA0\xBD\xED\xB8\x80", u"\uFFFD\uFFFD"},
      {"above 10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
      {"lead F5", "\xF5\x80\x80\x80", u"\uFFFD"},
      {"lead F7", "\xF7\xBF\xBF\xBF", u"\uFFFD"},
      {"5-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD"},
      {"6-byte form", "\xFC\x84\x80\x80\x80\x80", u"\uFFFD"},
      {"FE", "\xFE", u"\uFFFD"},
      {"FF between letters", "a\xFF" "b", u"a\uFFFDb"},
      {"stray continuation", "\x80", u"\uFFFD"},
      {"two stray continuations", "\x80\xBF", u"\uFFFD\uFFFD"},
      {"too many continuations", "\xC3\xA9\xA9", u"\u00E9\uFFFD"},
      {"valid then truncated", "\xC3\xA9\xC3", u"\u00E9\uFFFD"},
      {"valid euro", "\xE2\x82\xAC", u"\u20AC"},
      {"valid emoji", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"largest scalar", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"NUL is a character", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"ASCII run then bad byte", "abcdefghij\x80", u"abcdefghij\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeExact(c.bytes, Utf8Mode::kReplace), c.expected) << c.what;
  }
}

TEST(Utf8, UnpairedSurrogatesEncodeAsReplacement) {
  struct Case {
    const char* what;
    std::u16string units;
    std::string expected;
  };
  const Case cases[] = {
      {"lone high", u"a\xD800" u"b", "a\xEF\xBF\xBD" "b"},
      {"lone low", u"\xDC00", "\xEF\xBF\xBD"},
      {"high at the end", u"x\xDBFF", "x\xEF\xBF\xBD"},
      {"reversed pair", u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"two highs then low", u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
      {"pair", u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
      {"escaped byte is a lone surrogate too", u"\xDCFF", "\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) EXPECT_EQ(encode(c.units, Utf8Mode::kReplace), c.expected) << c.what;
}

TEST(Utf8, TextConversions) {
  StrBuffer text(u"\u00E9");
  EXPECT_EQ(text.toUtf8(), "\xC3\xA9");
  std::string out = "x";
  text.appendUtf8To(out);
  EXPECT_EQ(out, "x\xC3\xA9");
  text.fromUtf8("caf\xC3\xA9\0ignored", StrBuffer::kAll, false);
  EXPECT_EQ(text.view(), u"caf\u00E9");
  text.fromUtf8("!!", 1, true);
  EXPECT_EQ(text.view(), u"caf\u00E9!");
  text.appendUtf8("\xE2\x82\xAC");
  EXPECT_EQ(text.view(), u"caf\u00E9!\u20AC");
  text.assignUtf8("");
  EXPECT_TRUE(text.isEmpty());
  // A large text takes the exactly-sized path.
  StrBuffer large(std::u16string(100000, u'\u00E9'));
  EXPECT_EQ(large.toUtf8().size(), 200000u);
}

TEST(Utf8Lossless, EscapedBytesRoundTripExactly) {
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string units;
  };
  const Case cases[] = {
      {"valid text", "caf\xC3\xA9", u"caf\u00E9"},
      {"Latin-1 name", "caf\xE9.jpg", u"caf\xDCE9.jpg"},
      {"overlong", std::string("\xC0\x80", 2), u"\xDCC0\xDC80"},
      {"encoded surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
      {"truncated", "\xF0\x9F\x98", u"\xDCF0\xDC9F\xDC98"},
      {"FF FE", "\xFF\xFE", u"\xDCFF\xDCFE"},
      {"valid 4-byte with a DC80 low half", "\xF0\x90\x82\x80", u"\xD800\xDC80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeExact(c.bytes, Utf8Mode::kEscapeBytes), c.units) << c.what;
    EXPECT_EQ(encode(c.units, Utf8Mode::kEscapeBytes), c.bytes) << c.what;
  }
  // Surrogates that no byte maps to still become U+FFFD.
  EXPECT_EQ(encode(u"\xD800", Utf8Mode::kEscapeBytes), "\xEF\xBF\xBD");
  EXPECT_EQ(encode(u"\xDC7F", Utf8Mode::kEscapeBytes), "\xEF\xBF\xBD");
  EXPECT_EQ(encode(u"\xDD00", Utf8Mode::kEscapeBytes), "\xEF\xBF\xBD");

  StrBuffer name;
  name.assignUtf8Lossless("a\xFF");
  EXPECT_EQ(name.view(), u"a\xDCFF");
  EXPECT_EQ(name.toUtf8Lossless(), "a\xFF");
  EXPECT_EQ(name.toUtf8(), "a\xEF\xBF\xBD") << "the ordinary form writes valid UTF-8";
  name.appendUtf8Lossless("\xC3");
  EXPECT_EQ(name.toUtf8Lossless(), "a\xFF\xC3");
}

TEST(Utf8Lossless, EveryShortByteStringRoundTrips) {
  // Every string of up to three bytes, plus random longer ones biased towards the
  // bytes that start and continue sequences.
  std::string bytes;
  auto roundTrip = [&](const std::string& input) {
    const std::u16string units = decodeExact(input, Utf8Mode::kEscapeBytes);
    ASSERT_EQ(encode(units, Utf8Mode::kEscapeBytes), input);
    // The replacing decoder never writes more units than bytes and never over-reads.
    ASSERT_LE(decodeExact(input, Utf8Mode::kReplace).size(), input.size());
  };
  for (int a = 0; a < 256; ++a) {
    roundTrip(std::string(1, static_cast<char>(a)));
    for (int b = 0; b < 256; ++b) {
      roundTrip(std::string{static_cast<char>(a), static_cast<char>(b)});
    }
  }
  // Three bytes: a lead or continuation byte first (ASCII first bytes add nothing).
  for (int a = 0x80; a < 256; ++a) {
    for (int b = 0x70; b < 256; ++b) {
      for (int c = 0x70; c < 256; c += 3) {
        roundTrip(std::string{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
      }
    }
  }
  std::mt19937 random(12345);
  const uint8_t interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2,
                                 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xF8, 0xFC, 0xFE, 0xFF};
  for (int round = 0; round < 20000; ++round) {
    bytes.resize(4 + random() % 12);
    for (char& byte : bytes) byte = static_cast<char>(interesting[random() % sizeof interesting]);
    roundTrip(bytes);
  }
}

}  // namespace
