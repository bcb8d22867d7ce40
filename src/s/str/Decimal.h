#pragma once
// A number as the text of its decimal digits, for labels, names and pages.
#include <cstdint>
#include <string>

namespace s::str {

// The digits of value, with a leading '-' when it is negative; no grouping, no
// plus sign, the same text under every locale ("-9223372036854775808" for INT64_MIN).
std::u16string decimal(int64_t value);

}  // namespace s::str
