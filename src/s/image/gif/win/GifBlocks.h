#pragma once
// The bytes that open the blocks of a GIF file and the flags of its descriptors, as
// the reader and the writer both need them.
#include <cstdint>

namespace s::image::gif::win {

inline constexpr uint8_t kExtensionIntroducer = 0x21;
inline constexpr uint8_t kImageSeparator = 0x2C;
inline constexpr uint8_t kTrailer = 0x3B;
inline constexpr uint8_t kGraphicControlLabel = 0xF9;
inline constexpr uint8_t kApplicationLabel = 0xFF;
// The screen's and an image's descriptor: a colour table follows; the rows are
// interlaced.
inline constexpr uint8_t kTableFlag = 0x80;
inline constexpr uint8_t kInterlaceFlag = 0x40;

}  // namespace s::image::gif::win
