#pragma once
#include <cstdint>

#include "s/comp/ElementComparator.h"

namespace s::comp {

// Orders unsigned 32-bit.
class CompU32 final : public ElementComparator<CompU32, uint32_t> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_comp_CompU32";
};

}  // namespace s::comp
