#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "s/str/Decimal.h"

namespace {

using s::str::decimal;

TEST(Decimal, EdgesAndSigns) {
  const struct {
    int64_t value;
    std::u16string expected;
  } cases[] = {
      {0, u"0"},
      {7, u"7"},
      {-1, u"-1"},
      {10, u"10"},
      {-150, u"-150"},
      {INT32_MAX, u"2147483647"},
      {int64_t{INT32_MIN} - 1, u"-2147483649"},  // past 32 bits
      {INT64_MAX, u"9223372036854775807"},
      {INT64_MIN, u"-9223372036854775808"},  // no positive counterpart to negate
  };
  for (const auto& c : cases) EXPECT_EQ(decimal(c.value), c.expected) << c.value;
}

}  // namespace
