#pragma once
// File names between UTF-16 texts and the bytes a POSIX file system stores.
//
// Names are UTF-8 on disk, but a POSIX name may be any bytes. Decoding maps every byte
// that is not part of a valid UTF-8 sequence to the lone surrogate U+DC80-U+DCFF
// (U+DC00 + byte), so every existing name has a text form. Encoding reverses the
// mapping exactly; a text whose byte form would decode to a different text (another
// lone surrogate, an escaped byte that would join a valid sequence, a zero unit) has
// no byte form, so a name is never "repaired" into the name of another file.
#include <string>
#include <string_view>

namespace s::file {

class NameCodec {
 public:
  NameCodec() = delete;

  // Appends the text form of bytes to *text.
  static void decode(std::string_view bytes, std::u16string* text);
  // Replaces *bytes by the byte form of text; false when text has none.
  static bool encode(std::u16string_view text, std::string* bytes);
};

}  // namespace s::file
