#pragma once
// UTF-8 <-> UTF-16 conversion on raw buffers, the engine behind StrBuffer's
// conversions.
//
// Decoding treats its input as hostile: it never reads past count bytes, and each
// bad sequence becomes one U+FFFD. A bad sequence is
//   - a byte that never starts a sequence (80-BF, FE, FF): one byte;
//   - a lead byte followed by too few continuation bytes (truncated, or cut by the
//     end of the input): the lead and the continuation bytes present;
//   - a complete sequence that is an overlong form, an encoded surrogate
//     (U+D800-DFFF), above U+10FFFF, or a 5- or 6-byte form (F8-FD leads): the
//     whole sequence.
// Encoding writes U+FFFD for unpaired surrogates, so the output is always valid
// UTF-8.
//
// Utf8Mode::kEscapeBytes is the lossless mode for file names on Linux, where a
// name is any byte string: decoding maps every byte of a bad sequence to one unit
// U+DC80-U+DCFF (0xDC00 + byte), and encoding turns each such unit back into its
// byte when it is not part of a surrogate pair. Any byte string therefore survives
// bytes -> UTF-16 -> bytes exactly. (The other direction is lossy for texts that
// contain lone U+DC80-DCFF units whose bytes happen to form valid UTF-8; such texts
// never come out of the decoder.) Other unpaired surrogates still encode as U+FFFD.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace s::str::strbuffer {

enum class Utf8Mode {
  kReplace,      // bad input -> U+FFFD
  kEscapeBytes,  // bad bytes <-> U+DC80-U+DCFF, lossless for byte strings
};

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

// Decodes count bytes into out, which must have room for count units (no input byte
// yields more than one unit). Returns the number of units written.
size_t decodeUtf8(const uint8_t* bytes, size_t count, char16_t* out, Utf8Mode mode);

// The number of bytes encodeUtf8 writes for these units.
size_t encodedUtf8Length(const char16_t* units, size_t count, Utf8Mode mode);

// Encodes count units into out, which must have room for encodedUtf8Length bytes
// (3 * count is always enough). Returns the number of bytes written.
size_t encodeUtf8(const char16_t* units, size_t count, uint8_t* out, Utf8Mode mode);

// The text as UTF-8 bytes.
std::string toUtf8(std::u16string_view text, Utf8Mode mode = Utf8Mode::kReplace);

}  // namespace s::str::strbuffer
