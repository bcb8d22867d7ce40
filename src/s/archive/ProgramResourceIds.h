#pragma once
// Where the program's resources sit: the numbers and type names of the resource
// script res/pictorva.rc, for the code that looks them up.
#include <cstdint>

namespace s::archive::program {

// The icon group of the program icon (16, 32, 48 and 256 pixels, 32 bits).
inline constexpr uint16_t kIconGroup = 128;
// The language document.
inline constexpr char16_t kLanguageType[] = u"IDR_XML";
inline constexpr uint16_t kLanguageDocument = 130;
// The About window's two JPEG pictures: 700 x 230 and 230 x 700 pixels.
inline constexpr char16_t kPictureType[] = u"IDR_JPG";
inline constexpr uint16_t kWidePicture = 131;
inline constexpr uint16_t kTallPicture = 132;
// The version resource (shown in a file's properties).
inline constexpr uint16_t kVersionInfo = 1;

}  // namespace s::archive::program
