#include "s/file/NameCodec.h"

#include <cstdint>

#include "s/str/strbuffer/Utf8.h"

namespace s::file {

using str::strbuffer::Utf8Mode;

void NameCodec::decode(std::string_view bytes, std::u16string* text) {
  // No byte yields more than one unit.
  const size_t start = text->size();
  text->resize(start + bytes.size());
  const size_t units = str::strbuffer::decodeUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                                  text->data() + start, Utf8Mode::kEscapeBytes);
  text->resize(start + units);
}

bool NameCodec::encode(std::u16string_view text, std::string* bytes) {
  bytes->clear();
  for (char16_t unit : text) {
    if (unit == 0) return false;
  }
  bytes->resize(str::strbuffer::encodedUtf8Length(text.data(), text.size(), Utf8Mode::kEscapeBytes));
  const size_t written = str::strbuffer::encodeUtf8(text.data(), text.size(), reinterpret_cast<uint8_t*>(bytes->data()),
                                                    Utf8Mode::kEscapeBytes);
  bytes->resize(written);
  // The encoder writes U+FFFD for a surrogate it cannot place, and escaped bytes
  // next to others may form a valid sequence: either would name a different file.
  // The byte form must decode to the very same text.
  std::u16string again;
  decode(*bytes, &again);
  return again == text;
}

}  // namespace s::file
