#include "s/str/strbuffer/Utf8.h"
#include "s/str/strbuffer/Surrogates.h"

#include <cstring>

namespace s::str::strbuffer {
namespace {

bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence a byte starts, counting the historical 5- and 6-byte
// forms so that each of them is one bad sequence; 0 for bytes that start nothing.
size_t sequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC0) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF8) return 4;
  if (lead < 0xFC) return 5;
  if (lead < 0xFE) return 6;
  return 0;
}

// Smallest scalar value each length may encode; anything below is an overlong form.
constexpr uint32_t kMinimumForLength[5] = {0, 0, 0x80, 0x800, 0x10000};

// Emits the bad sequence bytes[0, count).
char16_t* emitBad(const uint8_t* bytes, size_t count, char16_t* out, Utf8Mode mode) {
  if (mode == Utf8Mode::kReplace) {
    *out++ = kReplacementCharacter;
    return out;
  }
  // Bad bytes are never ASCII, so every one lands in U+DC80-DCFF.
  for (size_t i = 0; i < count; ++i) *out++ = static_cast<char16_t>(0xDC00 + bytes[i]);
  return out;
}

bool isEscapedByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

// Eight ASCII bytes (or four ASCII units) at once: no byte/unit has a bit above 0x7F.
constexpr uint64_t kAsciiBytesMask = 0x8080808080808080ull;
constexpr uint64_t kAsciiUnitsMask = 0xFF80FF80FF80FF80ull;

}  // namespace

size_t decodeUtf8(const uint8_t* bytes, size_t count, char16_t* out, Utf8Mode mode) {
  char16_t* const start = out;
  size_t i = 0;
  while (i < count) {
    // Runs of ASCII, eight bytes per step.
    while (count - i >= 8) {
      uint64_t block;
      std::memcpy(&block, bytes + i, 8);
      if (block & kAsciiBytesMask) break;
      for (int k = 0; k < 8; ++k) out[k] = bytes[i + k];
      out += 8;
      i += 8;
    }
    if (i >= count) break;
    const uint8_t lead = bytes[i];
    if (lead < 0x80) {
      *out++ = lead;
      ++i;
      continue;
    }
    // Well-formed two- and three-byte sequences (most non-Latin text) directly; the
    // general path below gives the same units for them and handles everything else.
    if (lead >= 0xC2 && lead < 0xE0 && count - i >= 2 && isContinuation(bytes[i + 1])) {
      *out++ = static_cast<char16_t>(((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
      i += 2;
      continue;
    }
    if (lead >= 0xE0 && lead < 0xF0 && count - i >= 3 && isContinuation(bytes[i + 1]) &&
        isContinuation(bytes[i + 2])) {
      const uint32_t scalar = ((lead & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
      if (scalar >= 0x800 && (scalar < 0xD800 || scalar > 0xDFFF)) {
        *out++ = static_cast<char16_t>(scalar);
        i += 3;
        continue;
      }
    }
    const size_t length = sequenceLength(lead);
    if (length == 0) {
      out = emitBad(bytes + i, 1, out, mode);
      ++i;
      continue;
    }
    // Collect the continuation bytes that are there, never looking past count.
    size_t present = 1;
    while (present < length && i + present < count && isContinuation(bytes[i + present])) ++present;
    if (present < length || length > 4) {
      out = emitBad(bytes + i, present, out, mode);
      i += present;
      continue;
    }
    uint32_t scalar = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) scalar = (scalar << 6) | (bytes[i + k] & 0x3F);
    const bool valid = scalar >= kMinimumForLength[length] && scalar <= 0x10FFFF &&
                       (scalar < 0xD800 || scalar > 0xDFFF);
    if (!valid) {
      out = emitBad(bytes + i, length, out, mode);
    } else if (scalar < 0x10000) {
      *out++ = static_cast<char16_t>(scalar);
    } else {
      scalar -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (scalar >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (scalar & 0x3FF));
    }
    i += length;
  }
  return static_cast<size_t>(out - start);
}

size_t encodedUtf8Length(const char16_t* units, size_t count, Utf8Mode mode) {
  size_t bytes = 0;
  for (size_t i = 0; i < count; ++i) {
    const char16_t unit = units[i];
    if (unit < 0x80) {
      bytes += 1;
    } else if (unit < 0x800) {
      bytes += 2;
    } else if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(units[i + 1])) {
      bytes += 4;
      ++i;
    } else if (mode == Utf8Mode::kEscapeBytes && isEscapedByte(unit)) {
      bytes += 1;
    } else {
      bytes += 3;  // any other unit, U+FFFD for unpaired surrogates included
    }
  }
  return bytes;
}

size_t encodeUtf8(const char16_t* units, size_t count, uint8_t* out, Utf8Mode mode) {
  uint8_t* const start = out;
  size_t i = 0;
  while (i < count) {
    // Runs of ASCII, four units per step.
    while (count - i >= 4) {
      uint64_t block;
      std::memcpy(&block, units + i, 8);
      if (block & kAsciiUnitsMask) break;
      out[0] = static_cast<uint8_t>(units[i]);
      out[1] = static_cast<uint8_t>(units[i + 1]);
      out[2] = static_cast<uint8_t>(units[i + 2]);
      out[3] = static_cast<uint8_t>(units[i + 3]);
      out += 4;
      i += 4;
    }
    if (i >= count) break;
    uint32_t scalar = units[i++];
    if (scalar < 0x80) {
      *out++ = static_cast<uint8_t>(scalar);
      continue;
    }
    if (scalar < 0x800) {
      *out++ = static_cast<uint8_t>(0xC0 | (scalar >> 6));
      *out++ = static_cast<uint8_t>(0x80 | (scalar & 0x3F));
      continue;
    }
    if (isHighSurrogate(static_cast<char16_t>(scalar)) && i < count && isLowSurrogate(units[i])) {
      scalar = 0x10000 + ((scalar - 0xD800) << 10) + (units[i++] - 0xDC00);
      *out++ = static_cast<uint8_t>(0xF0 | (scalar >> 18));
      *out++ = static_cast<uint8_t>(0x80 | ((scalar >> 12) & 0x3F));
      *out++ = static_cast<uint8_t>(0x80 | ((scalar >> 6) & 0x3F));
      *out++ = static_cast<uint8_t>(0x80 | (scalar & 0x3F));
      continue;
    }
    if (scalar >= 0xD800 && scalar <= 0xDFFF) {
      if (mode == Utf8Mode::kEscapeBytes && isEscapedByte(static_cast<char16_t>(scalar))) {
        *out++ = static_cast<uint8_t>(scalar & 0xFF);
        continue;
      }
      scalar = kReplacementCharacter;
    }
    *out++ = static_cast<uint8_t>(0xE0 | (scalar >> 12));
    *out++ = static_cast<uint8_t>(0x80 | ((scalar >> 6) & 0x3F));
    *out++ = static_cast<uint8_t>(0x80 | (scalar & 0x3F));
  }
  return static_cast<size_t>(out - start);
}

std::string toUtf8(std::u16string_view text, Utf8Mode mode) {
  std::string bytes(encodedUtf8Length(text.data(), text.size(), mode), '\0');
  if (!bytes.empty()) encodeUtf8(text.data(), text.size(), reinterpret_cast<uint8_t*>(bytes.data()), mode);
  return bytes;
}

}  // namespace s::str::strbuffer
