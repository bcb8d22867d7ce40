#include "s/digest/Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>


namespace {

std::string hexOf(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < count; ++i) {
    hex.push_back(kDigits[bytes[i] >> 4]);
    hex.push_back(kDigits[bytes[i] & 15]);
  }
  return hex;
}

TEST(Md5, KnownDigests) {
  struct Case {
    std::string message;
    const char* digest;
  };
  const Case cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
      {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
      {std::string(55, 'x'), nullptr},  // padding fits in the last block
      {std::string(56, 'x'), nullptr},  // padding needs another block
  };
  for (const Case& c : cases) {
    s::digest::Md5 whole;
    whole.update(c.message.data(), c.message.size());
    whole.finish();
    if (c.digest) {
      EXPECT_EQ(hexOf(whole.value(), 16), c.digest);
    }
    // Fed in uneven pieces, the digest is the same.
    s::digest::Md5 pieces;
    for (size_t at = 0, step = 1; at < c.message.size(); at += step, step = step * 2 + 1) {
      pieces.update(c.message.data() + at, std::min(step, c.message.size() - at));
    }
    pieces.finish();
    EXPECT_EQ(hexOf(pieces.value(), 16), hexOf(whole.value(), 16)) << c.message.size();
  }
}

}  // namespace
