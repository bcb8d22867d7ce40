#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "s/comp/CompP.h"
#include "s/comp/CompS08.h"
#include "s/comp/CompS32.h"
#include "s/comp/CompU08.h"
#include "s/comp/CompU32.h"

namespace {

// The same bit patterns order differently by signedness.
TEST(ElementComparator, SignednessAndWidth) {
  const int32_t minusOne = -1;
  const int32_t one = 1;
  const int8_t byteHigh = static_cast<int8_t>(0x80);
  const int8_t byteOne = 1;
  const uintptr_t above4G = sizeof(uintptr_t) == 8 ? static_cast<uintptr_t>(uint64_t{1} << 32) : 0x8000'0000u;
  const uintptr_t below = 0xFFFF'FFF0u;  // larger in the low 32 bits
  // Unaligned elements inside a byte buffer.
  alignas(4) uint8_t buffer[12] = {};
  std::memcpy(buffer + 1, &minusOne, 4);
  std::memcpy(buffer + 6, &one, 4);

  struct Case {
    const char* name;
    const s::base::IComparator& comparator;
    const void* a;
    const void* b;
    int expected;
  };
  const Case cases[] = {
      {"S32 -1 < 1", s::comp::CompS32::instance(), &minusOne, &one, -1},
      {"U32 0xFFFFFFFF > 1", s::comp::CompU32::instance(), &minusOne, &one, 1},
      {"S32 equal", s::comp::CompS32::instance(), &one, &one, 0},
      {"S08 0x80 < 1", s::comp::CompS08::instance(), &byteHigh, &byteOne, -1},
      {"U08 0x80 > 1", s::comp::CompU08::instance(), &byteHigh, &byteOne, 1},
      {"P uses every pointer bit", s::comp::CompP::instance(), &above4G, &below, sizeof(uintptr_t) == 8 ? 1 : -1},
      {"P reverse", s::comp::CompP::instance(), &below, &above4G, sizeof(uintptr_t) == 8 ? -1 : 1},
      {"S32 unaligned", s::comp::CompS32::instance(), buffer + 1, buffer + 6, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.comparator.compare(c.a, c.b), c.expected) << c.name;
    EXPECT_EQ(c.comparator.compareIgnoreCase(c.a, c.b), c.expected) << c.name;
  }
}

TEST(ElementComparator, OneSharedInstanceEach) {
  auto& comparator = s::comp::CompU08::instance();
  EXPECT_EQ(&comparator, &s::comp::CompU08::instance());
  EXPECT_EQ(comparator.newInstance(), &comparator);
  EXPECT_EQ(std::u16string(comparator.getRegistrationName()), u"s_comp_CompU08");
  EXPECT_EQ(std::u16string(s::comp::CompP::instance().getRegistrationName()), u"s_comp_CompP");
}

}  // namespace
