// StrBuffer: number formatting and parsing, hexadecimal forms.
#include <cfloat>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {
namespace {

// Room for any number form. The longest is "%f" of -DBL_MAX: a sign, 309 integer
// digits, the point and 6 decimals, 317 characters.
constexpr size_t kNumberTextCapacity = 512;

constexpr char kHexDigits[] = "0123456789abcdef";

// Writes value as `digits` lower-case hex digits, most significant first.
char* writeHex(uint64_t value, int digits, char* out) {
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = kHexDigits[value & 0xF];
    value >>= 4;
  }
  return out + digits;
}

// Skips the trimming white space from index from; returns the first other index.
size_t skipWhiteSpace(const char16_t* units, size_t length, size_t from) {
  while (from < length && StrBuffer::isWhiteSpace(units[from])) ++from;
  return from;
}

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

struct ParsedInteger {
  bool negative = false;
  uint64_t magnitude = 0;
  bool overflow = false;  // the digits exceed 64 bits
};

ParsedInteger parseDecimal(const char16_t* units, size_t length, size_t from) {
  ParsedInteger parsed;
  size_t i = skipWhiteSpace(units, length, from);
  if (i < length && (units[i] == u'-' || units[i] == u'+')) parsed.negative = units[i++] == u'-';
  for (; i < length && isDigit(units[i]); ++i) {
    const unsigned digit = units[i] - u'0';
    if (parsed.magnitude > (UINT64_MAX - digit) / 10) {
      parsed.overflow = true;  // keep going: the digits still belong to the number
    } else {
      parsed.magnitude = parsed.magnitude * 10 + digit;
    }
  }
  return parsed;
}

// The parsed value clamped into T's range.
template <class T>
T saturate(const ParsedInteger& parsed) {
  constexpr T kMin = std::numeric_limits<T>::min();
  constexpr T kMax = std::numeric_limits<T>::max();
  if constexpr (std::is_signed_v<T>) {
    if (parsed.negative) {
      // |min| = max + 1 for two's complement.
      const uint64_t limit = static_cast<uint64_t>(kMax) + 1;
      if (parsed.overflow || parsed.magnitude >= limit) return kMin;
      return static_cast<T>(-static_cast<int64_t>(parsed.magnitude));
    }
    if (parsed.overflow || parsed.magnitude > static_cast<uint64_t>(kMax)) return kMax;
    return static_cast<T>(parsed.magnitude);
  } else {
    if (parsed.negative) return kMin;
    if (parsed.overflow || parsed.magnitude > kMax) return kMax;
    return static_cast<T>(parsed.magnitude);
  }
}

bool startsWithWordIgnoringAsciiCase(const char16_t* units, size_t length, size_t at, const char* word) {
  const size_t wordLength = std::strlen(word);
  if (at > length || length - at < wordLength) return false;
  for (size_t k = 0; k < wordLength; ++k) {
    char16_t unit = units[at + k];
    if (unit >= u'A' && unit <= u'Z') unit += 32;
    if (unit != static_cast<char16_t>(word[k])) return false;
  }
  return true;
}

// Parses the decimal number at units[i...] without its sign; stores its magnitude.
// Returns false when there are no digits.
bool parseMagnitude(const char16_t* units, size_t length, size_t i, double* magnitude) {
  if (startsWithWordIgnoringAsciiCase(units, length, i, "inf")) {
    *magnitude = std::numeric_limits<double>::infinity();
    return true;
  }
  if (startsWithWordIgnoringAsciiCase(units, length, i, "nan")) {
    *magnitude = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  // Copy the number's ASCII form: digits [. digits] [e [sign] digits]. Its order of
  // magnitude is tracked on the way, to tell overflow from underflow below.
  std::string ascii;
  int64_t integerDigits = 0;      // significant digits before the point
  int64_t leadingFractionZeros = 0;  // zeros after the point before the first non-zero digit
  bool anyNonZero = false;
  bool anyDigit = false;
  for (; i < length && isDigit(units[i]); ++i) {
    anyDigit = true;
    if (units[i] != u'0') anyNonZero = true;
    if (anyNonZero) ++integerDigits;
    ascii.push_back(static_cast<char>(units[i]));
  }
  if (i < length && units[i] == u'.') {
    ascii.push_back('.');
    for (++i; i < length && isDigit(units[i]); ++i) {
      anyDigit = true;
      if (units[i] != u'0') anyNonZero = true;
      if (!anyNonZero) ++leadingFractionZeros;
      ascii.push_back(static_cast<char>(units[i]));
    }
  }
  if (!anyDigit) return false;
  int64_t exponent = 0;
  if (i < length && (units[i] == u'e' || units[i] == u'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < length && (units[j] == u'-' || units[j] == u'+')) negativeExponent = units[j++] == u'-';
    if (j < length && isDigit(units[j])) {
      ascii.push_back('e');
      if (negativeExponent) ascii.push_back('-');
      for (; j < length && isDigit(units[j]); ++j) {
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (units[j] - u'0');
        ascii.push_back(static_cast<char>(units[j]));
      }
      if (negativeExponent) exponent = -exponent;
    }
  }
  double value = 0;
  const std::from_chars_result result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Saturate: too large becomes the largest finite value, too small becomes 0.
    if (!anyNonZero) {
      value = 0;
    } else {
      const int64_t order = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
      value = order > 0 ? DBL_MAX : 0.0;
    }
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  *magnitude = value;
  return true;
}

}  // namespace

// --- Formatting ------------------------------------------------------------------

void StrBuffer::appendInt64(int64_t value) {
  char text[kNumberTextCapacity];
  const int written = std::snprintf(text, sizeof text, "%" PRId64, value);
  if (written > 0) appendAscii(text, static_cast<size_t>(written));
}

void StrBuffer::appendUInt64(uint64_t value) {
  char text[kNumberTextCapacity];
  const int written = std::snprintf(text, sizeof text, "%" PRIu64, value);
  if (written > 0) appendAscii(text, static_cast<size_t>(written));
}

void StrBuffer::appendInt32(int32_t value) {
  char text[kNumberTextCapacity];
  const int written = std::snprintf(text, sizeof text, "%" PRId32, value);
  if (written > 0) appendAscii(text, static_cast<size_t>(written));
}

void StrBuffer::appendUInt32(uint32_t value) {
  char text[kNumberTextCapacity];
  const int written = std::snprintf(text, sizeof text, "%" PRIu32, value);
  if (written > 0) appendAscii(text, static_cast<size_t>(written));
}

void StrBuffer::appendDouble(double value) {
  // "%f": fixed notation with 6 decimals. std::to_chars gives the same digits as
  // printf but never a locale's decimal comma, and the same text on every C library.
  char text[kNumberTextCapacity];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  if (result.ec == std::errc()) appendAscii(text, static_cast<size_t>(result.ptr - text));
}

void StrBuffer::appendHex64(const uint64_t* values, size_t count) {
  char text[16];
  for (size_t i = 0; i < count; ++i) appendAscii(text, static_cast<size_t>(writeHex(values[i], 16, text) - text));
}

void StrBuffer::appendHex32(const uint32_t* values, size_t count) {
  char text[8];
  for (size_t i = 0; i < count; ++i) appendAscii(text, static_cast<size_t>(writeHex(values[i], 8, text) - text));
}

void StrBuffer::appendHex16(const uint16_t* values, size_t count) {
  char text[4];
  for (size_t i = 0; i < count; ++i) appendAscii(text, static_cast<size_t>(writeHex(values[i], 4, text) - text));
}

void StrBuffer::appendHex8(const uint8_t* bytes, size_t count) {
  char text[2];
  for (size_t i = 0; i < count; ++i) appendAscii(text, static_cast<size_t>(writeHex(bytes[i], 2, text) - text));
}

void StrBuffer::appendHex64AsWords(const uint64_t* values, size_t count) {
  char text[16];
  for (size_t i = 0; i < count; ++i) {
    uint32_t words[2];
    std::memcpy(words, &values[i], sizeof words);  // words[0] is at the lower address
    writeHex(words[1], 8, writeHex(words[0], 8, text));
    appendAscii(text, sizeof text);
  }
}

// --- Parsing -----------------------------------------------------------------------

int64_t StrBuffer::parseInt64(size_t from) const { return saturate<int64_t>(parseDecimal(units_, length_, from)); }
uint64_t StrBuffer::parseUInt64(size_t from) const {
  return saturate<uint64_t>(parseDecimal(units_, length_, from));
}
int32_t StrBuffer::parseInt32(size_t from) const { return saturate<int32_t>(parseDecimal(units_, length_, from)); }
uint32_t StrBuffer::parseUInt32(size_t from) const {
  return saturate<uint32_t>(parseDecimal(units_, length_, from));
}
int16_t StrBuffer::parseInt16(size_t from) const { return saturate<int16_t>(parseDecimal(units_, length_, from)); }
uint16_t StrBuffer::parseUInt16(size_t from) const {
  return saturate<uint16_t>(parseDecimal(units_, length_, from));
}
int8_t StrBuffer::parseInt8(size_t from) const { return saturate<int8_t>(parseDecimal(units_, length_, from)); }
uint8_t StrBuffer::parseUInt8(size_t from) const { return saturate<uint8_t>(parseDecimal(units_, length_, from)); }

double StrBuffer::parseDouble(size_t from) const {
  size_t i = skipWhiteSpace(units_, length_, from);
  bool negative = false;
  if (i < length_ && (units_[i] == u'-' || units_[i] == u'+')) negative = units_[i++] == u'-';
  double magnitude = 0;
  if (!parseMagnitude(units_, length_, i, &magnitude)) return 0;
  return negative ? -magnitude : magnitude;
}

float StrBuffer::parseFloat(size_t from) const {
  const double value = parseDouble(from);
  if (std::isfinite(value)) {
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
  }
  return static_cast<float>(value);
}

// --- Hexadecimal and integer texts ---------------------------------------------------

bool StrBuffer::isHex() const {
  if (!length_) return false;
  for (size_t i = 0; i < length_; ++i) {
    const char16_t unit = units_[i];
    const bool hex = isDigit(unit) || (unit >= u'a' && unit <= u'f') || (unit >= u'A' && unit <= u'F');
    if (!hex) return false;
  }
  return true;
}

int StrBuffer::hexDigitAt(size_t index) const {
  if (index >= length_) return 0;
  const char16_t unit = units_[index];
  if (isDigit(unit)) return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return 0;
}

size_t StrBuffer::hexToBytes(uint8_t* out, size_t capacity) const {
  const size_t pairs = length_ / 2;
  const size_t count = pairs < capacity ? pairs : capacity;
  for (size_t i = 0; i < count; ++i) {
    out[i] = static_cast<uint8_t>(hexDigitAt(2 * i) << 4 | hexDigitAt(2 * i + 1));
  }
  return count;
}

bool StrBuffer::isInteger() const {
  if (!length_) return false;
  size_t i = 0;
  if (units_[0] == u'-') {
    if (length_ == 1) return false;
    i = 1;
  }
  for (; i < length_; ++i) {
    if (!isDigit(units_[i])) return false;
  }
  return true;
}

}  // namespace s::str::strbuffer
