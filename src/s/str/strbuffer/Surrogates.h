#pragma once
// The halves of a UTF-16 surrogate pair, which together stand for one code point above
// U+FFFF.
#include <cstdint>

namespace s::str::strbuffer {

constexpr bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
// The code point of a pair (high, low).
constexpr char32_t codePointOf(char16_t high, char16_t low) {
  return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
}

}  // namespace s::str::strbuffer
