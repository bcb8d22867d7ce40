#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;

std::string formatted(const std::function<void(StrBuffer&)>& append) {
  StrBuffer text;
  append(text);
  return text.toUtf8();
}

TEST(StrBufferNumbers, DecimalForms) {
  struct Case {
    std::function<void(StrBuffer&)> append;
    std::string expected;
  };
  const Case cases[] = {
      {[](StrBuffer& t) { t.appendInt32(0); }, "0"},
      {[](StrBuffer& t) { t.appendInt32(-1); }, "-1"},
      {[](StrBuffer& t) { t.appendInt32(INT32_MIN); }, "-2147483648"},
      {[](StrBuffer& t) { t.appendUInt32(UINT32_MAX); }, "4294967295"},
      {[](StrBuffer& t) { t.appendInt64(INT64_MIN); }, "-9223372036854775808"},
      {[](StrBuffer& t) { t.appendInt64(INT64_MAX); }, "9223372036854775807"},
      {[](StrBuffer& t) { t.appendUInt64(UINT64_MAX); }, "18446744073709551615"},
      {[](StrBuffer& t) { t.appendInt16(INT16_MIN); }, "-32768"},
      {[](StrBuffer& t) { t.appendInt8(-128); }, "-128"},
      {[](StrBuffer& t) { t.appendUInt16(65535); }, "65535"},
      {[](StrBuffer& t) { t.appendUInt8(255); }, "255"},
      {[](StrBuffer& t) { t.appendDouble(0); }, "0.000000"},
      {[](StrBuffer& t) { t.appendDouble(2.25); }, "2.250000"},
      {[](StrBuffer& t) { t.appendDouble(-0.5); }, "-0.500000"},
      {[](StrBuffer& t) { t.appendDouble(0.1); }, "0.100000"},
      {[](StrBuffer& t) { t.appendDouble(123456.789); }, "123456.789000"},
      {[](StrBuffer& t) { t.appendDouble(0.0000015); }, "0.000002"},
      {[](StrBuffer& t) { t.appendFloat(0.1f); }, "0.100000"},
      {[](StrBuffer& t) { t.appendFloat(16777216.0f); }, "16777216.000000"},
      {[](StrBuffer& t) {
         t.append(u"w=");
         t.appendInt32(150);
       },
       "w=150"},
      {[](StrBuffer& t) {
         t.append(u"old");
         t.setInt32(-7);
       },
       "-7"},
      {[](StrBuffer& t) {
         t.append(u"old");
         t.setDouble(1);
       },
       "1.000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatted(c.append), c.expected);
}

TEST(StrBufferNumbers, FixedFormOfHugeDoublesIsComplete) {
  // "%f" of 1e300 is 301 digits plus ".000000": more than a 256-unit buffer holds.
  const std::string hugeText = formatted([](StrBuffer& t) { t.appendDouble(1e300); });
  EXPECT_EQ(hugeText.size(), 308u);
  EXPECT_EQ(hugeText.substr(0, 40), "1000000000000000052504760255204420248704");
  EXPECT_EQ(hugeText.substr(hugeText.size() - 7), ".000000");
  const std::string largest = formatted([](StrBuffer& t) { t.appendDouble(-DBL_MAX); });
  EXPECT_EQ(largest.size(), 317u);
  EXPECT_EQ(largest.substr(0, 12), "-17976931348");
}

TEST(StrBufferNumbers, HexForms) {
  struct Case {
    std::function<void(StrBuffer&)> append;
    std::string expected;
  };
  const uint8_t bytes[] = {0x01, 0x02, 0xFF};
  const uint16_t shorts[] = {0xBEEF, 0x000A};
  const uint32_t words[] = {0x12AB, 0xFFFFFFFF};
  const uint64_t longs[] = {0x0123456789ABCDEFull, 0};
  const uint64_t halves = 0x1122334455667788ull;
  uint32_t halvesWords[2];
  std::memcpy(halvesWords, &halves, sizeof halvesWords);
  const bool littleEndian = halvesWords[0] == 0x55667788u;
  const Case cases[] = {
      {[](StrBuffer& t) { t.appendHex8(uint8_t{0x0A}); }, "0a"},
      {[&](StrBuffer& t) { t.appendHex8(bytes, 3); }, "0102ff"},
      {[&](StrBuffer& t) { t.appendHex16(shorts, 2); }, "beef000a"},
      {[&](StrBuffer& t) { t.appendHex32(words, 2); }, "000012abffffffff"},
      {[&](StrBuffer& t) { t.appendHex64(longs, 2); }, "0123456789abcdef0000000000000000"},
      {[&](StrBuffer& t) { t.appendHex64AsWords(&halves, 1); },
       littleEndian ? "5566778811223344" : "1122334455667788"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatted(c.append), c.expected);
}

TEST(StrBufferNumbers, IntegerParsingSaturates) {
  struct Case {
    std::u16string text;
    int32_t int32;
    uint32_t uint32;
    int64_t int64;
    uint64_t uint64;
  };
  const Case cases[] = {
      {u"42", 42, 42, 42, 42},
      {u"  -17x", -17, 0, -17, 0},
      {u"+5", 5, 5, 5, 5},
      {u"\t\u3000\r\n 12", 12, 12, 12, 12},
      {u"abc", 0, 0, 0, 0},
      {u"-", 0, 0, 0, 0},
      {u"", 0, 0, 0, 0},
      {u"- 5", 0, 0, 0, 0},
      {u"2147483647", INT32_MAX, 2147483647u, 2147483647, 2147483647u},
      {u"2147483648", INT32_MAX, 2147483648u, 2147483648, 2147483648u},
      {u"-2147483648", INT32_MIN, 0, -2147483648LL, 0},
      {u"-2147483649", INT32_MIN, 0, -2147483649LL, 0},
      {u"4294967296", INT32_MAX, UINT32_MAX, 4294967296LL, 4294967296u},
      {u"9223372036854775807", INT32_MAX, UINT32_MAX, INT64_MAX, 9223372036854775807u},
      {u"-9223372036854775808", INT32_MIN, 0, INT64_MIN, 0},
      {u"-9223372036854775809", INT32_MIN, 0, INT64_MIN, 0},
      {u"18446744073709551615", INT32_MAX, UINT32_MAX, INT64_MAX, UINT64_MAX},
      {u"18446744073709551616", INT32_MAX, UINT32_MAX, INT64_MAX, UINT64_MAX},
      {u"99999999999999999999999999999", INT32_MAX, UINT32_MAX, INT64_MAX, UINT64_MAX},
      {u"-99999999999999999999999999999", INT32_MIN, 0, INT64_MIN, 0},
      {u"000000000000000000000000000012", 12, 12, 12, 12},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_EQ(text.parseInt32(), c.int32) << text.toUtf8();
    EXPECT_EQ(text.parseUInt32(), c.uint32) << text.toUtf8();
    EXPECT_EQ(text.parseInt64(), c.int64) << text.toUtf8();
    EXPECT_EQ(text.parseUInt64(), c.uint64) << text.toUtf8();
  }
}

TEST(StrBufferNumbers, NarrowIntegersSaturateToTheirWidth) {
  struct Case {
    std::u16string text;
    int16_t int16;
    uint16_t uint16;
    int8_t int8;
    uint8_t uint8;
  };
  const Case cases[] = {
      {u"100", 100, 100, 100, 100},
      {u"300", 300, 300, 127, 255},
      {u"40000", 32767, 40000, 127, 255},
      {u"70000", 32767, 65535, 127, 255},
      {u"-300", -300, 0, -128, 0},
      {u"-40000", -32768, 0, -128, 0},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_EQ(text.parseInt16(), c.int16) << text.toUtf8();
    EXPECT_EQ(text.parseUInt16(), c.uint16) << text.toUtf8();
    EXPECT_EQ(text.parseInt8(), c.int8) << text.toUtf8();
    EXPECT_EQ(text.parseUInt8(), c.uint8) << text.toUtf8();
  }
  EXPECT_EQ(StrBuffer(u"ab12").parseInt32(2), 12) << "parsing from an index";
}

TEST(StrBufferNumbers, FloatingParsing) {
  struct Case {
    std::u16string text;
    double value;
  };
  const Case cases[] = {
      {u"1.5", 1.5},
      {u" -2.5e3", -2500},
      {u"+0.25", 0.25},
      {u".5", 0.5},
      {u"5.", 5},
      {u"1e", 1},       // an exponent without digits is not part of the number
      {u"2E+2x", 200},
      {u"1,5", 1},      // never a locale's decimal comma
      {u"abc", 0},
      {u"-", 0},
      {u".", 0},
      {u"1e400", DBL_MAX},
      {u"-1e400", -DBL_MAX},
      {u"1e99999999999999999999", DBL_MAX},
      {u"1e-400", 0},
      {u"0.0000000001e-99999999999", 0},
      {u"0e99999999999", 0},
      {u"123456789012345678901234567890e-30", 0.12345678901234568},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_DOUBLE_EQ(text.parseDouble(), c.value) << text.toUtf8();
  }
  EXPECT_TRUE(std::isinf(StrBuffer(u"-inf").parseDouble()));
  EXPECT_LT(StrBuffer(u"-Infinity").parseDouble(), 0);
  EXPECT_TRUE(std::isnan(StrBuffer(u"nan").parseDouble()));

  EXPECT_EQ(StrBuffer(u"1e39").parseFloat(), FLT_MAX);
  EXPECT_EQ(StrBuffer(u"-1e39").parseFloat(), -FLT_MAX);
  EXPECT_EQ(StrBuffer(u"0.1").parseFloat(), 0.1f);
}

TEST(StrBufferNumbers, HexAndIntegerTexts) {
  struct Case {
    std::u16string text;
    bool isHex;
    bool isInteger;
  };
  const Case cases[] = {
      {u"", false, false},       {u"-", false, false},     {u"-5", false, true}, {u"5-", false, false},
      {u"--5", false, false},    {u"007", true, true},     {u"aF09", true, false}, {u"0x1", false, false},
      {u"\uFF11", false, false},  // fullwidth digit one
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_EQ(text.isHex(), c.isHex) << text.toUtf8();
    EXPECT_EQ(text.isInteger(), c.isInteger) << text.toUtf8();
  }
  StrBuffer hex(u"0aFfz1g");
  EXPECT_EQ(hex.hexDigitAt(2), 15);
  EXPECT_EQ(hex.hexDigitAt(4), 0) << "a non-digit";
  EXPECT_EQ(hex.hexDigitAt(99), 0);
  uint8_t bytes[8] = {};
  EXPECT_EQ(hex.hexToBytes(bytes, sizeof bytes), 3u) << "the odd last digit is ignored";
  EXPECT_EQ(bytes[0], 0x0A);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(bytes[2], 0x01);
  EXPECT_EQ(hex.hexToBytes(bytes, 1), 1u) << "never more than the room given";
}

}  // namespace
