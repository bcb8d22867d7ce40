#include "s/file/NameCodec.h"

#include <cstdint>

namespace s::file {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at bytes[i] and its code point, or 0.
size_t validSequence(std::string_view bytes, size_t i, uint32_t* codePoint) {
  const auto byteAt = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
  const uint8_t lead = byteAt(i);
  size_t length;
  uint32_t value;
  uint32_t minimum;
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() - i < length) return 0;
  for (size_t k = 1; k < length; ++k) {
    const uint8_t next = byteAt(i + k);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return length;
}

void appendCodePoint(uint32_t codePoint, std::u16string* text) {
  if (codePoint < 0x10000) {
    text->push_back(static_cast<char16_t>(codePoint));
  } else {
    codePoint -= 0x10000;
    text->push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    text->push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
  }
}

}  // namespace

void NameCodec::decode(std::string_view bytes, std::u16string* text) {
  text->reserve(text->size() + bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    uint32_t codePoint = 0;
    const size_t length = validSequence(bytes, i, &codePoint);
    if (length == 0) {
      text->push_back(static_cast<char16_t>(kEscapeBase + static_cast<uint8_t>(bytes[i])));
      ++i;
    } else {
      appendCodePoint(codePoint, text);
      i += length;
    }
  }
}

bool NameCodec::encode(std::u16string_view text, std::string* bytes) {
  bytes->clear();
  bytes->reserve(text.size() * 3);
  bool escaped = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t unit = text[i];
    uint32_t codePoint = unit;
    if (unit == 0) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      codePoint = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      // Only an escaped byte 0x80-0xFF stands alone.
      if (unit < 0xDC80 || unit > 0xDCFF) return false;
      bytes->push_back(static_cast<char>(unit - kEscapeBase));
      escaped = true;
      continue;
    }
    if (codePoint < 0x80) {
      bytes->push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
      bytes->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
      bytes->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
      bytes->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
      bytes->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      bytes->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
      bytes->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
      bytes->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
      bytes->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      bytes->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
  }
  if (escaped) {
    // Escaped bytes next to others might form a valid sequence, which would name a
    // different file: the byte form must decode to the very same text.
    std::u16string again;
    decode(*bytes, &again);
    if (again != text) return false;
  }
  return true;
}

}  // namespace s::file
