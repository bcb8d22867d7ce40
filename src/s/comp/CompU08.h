#pragma once
#include <cstdint>

#include "s/comp/ElementComparator.h"

namespace s::comp {

// Orders unsigned bytes.
class CompU08 final : public ElementComparator<CompU08, uint8_t> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_comp_CompU08";
};

}  // namespace s::comp
