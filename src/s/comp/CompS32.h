#pragma once
#include <cstdint>

#include "s/comp/ElementComparator.h"

namespace s::comp {

// Orders signed 32-bit.
class CompS32 final : public ElementComparator<CompS32, int32_t> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_comp_CompS32";
};

}  // namespace s::comp
