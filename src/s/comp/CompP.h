#pragma once
#include <cstdint>

#include "s/comp/ElementComparator.h"

namespace s::comp {

// Orders pointers by address (all pointer bits).
class CompP final : public ElementComparator<CompP, uintptr_t> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_comp_CompP";
};

}  // namespace s::comp
