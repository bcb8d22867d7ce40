#include "s/str/Decimal.h"

#include <charconv>

namespace s::str {

std::u16string decimal(int64_t value) {
  // 19 digits and a sign hold every int64; to_chars never looks at the locale.
  char digits[24];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
  return std::u16string(digits, result.ptr);
}

}  // namespace s::str
