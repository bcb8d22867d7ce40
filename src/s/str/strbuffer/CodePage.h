#pragma once
// Conversions between UTF-16 and the byte encodings of numbered code pages
// (Windows code page numbers: 1252, 932, 65001 ...). UTF-16LE (1200), UTF-16BE
// (1201) and UTF-8 (65001) are handled here on every system; other numbers go to
// the system: WideCharToMultiByte/MultiByteToWideChar on Windows, iconv on Linux.
// Code page 0 is the system's default: the ANSI code page on Windows, UTF-8 on
// Linux.
//
// Characters a code page lacks become '?', bytes that do not decode become U+FFFD;
// the conversions fail only for a code page the system does not know.
#include <cstddef>
#include <cstdint>
#include <string>

namespace s::str::strbuffer {

class CodePage {
 public:
  static constexpr uint32_t kDefault = 0;
  static constexpr uint32_t kUtf16Le = 1200;
  static constexpr uint32_t kUtf16Be = 1201;
  static constexpr uint32_t kUtf8 = 65001;

  // Appends the bytes of units in codePage to out; false for an unknown code page.
  static bool encode(uint32_t codePage, const char16_t* units, size_t count, std::string& out);
  // Appends the units decoded from bytes to out; false for an unknown code page.
  static bool decode(uint32_t codePage, const uint8_t* bytes, size_t count, std::u16string& out);

 private:
  // The system's conversions (CodePage_win.cpp / CodePage_posix.cpp), for every code
  // page other than the three above; codePage 0 is the system's default.
  static bool systemEncode(uint32_t codePage, const char16_t* units, size_t count, std::string& out);
  static bool systemDecode(uint32_t codePage, const uint8_t* bytes, size_t count, std::u16string& out);
};

}  // namespace s::str::strbuffer
