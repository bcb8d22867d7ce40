#pragma once
#include <cstdint>

#include "s/comp/ElementComparator.h"

namespace s::comp {

// Orders signed bytes.
class CompS08 final : public ElementComparator<CompS08, int8_t> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_comp_CompS08";
};

}  // namespace s::comp
