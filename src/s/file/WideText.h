#pragma once
// A zero-terminated copy of a UTF-16 text for the wide-character Win32 calls, alive
// until the end of the full expression that made it: CreateFileW(wide(path), ...).
#include <string>
#include <string_view>

namespace s::file {

class WideText {
 public:
  explicit WideText(std::u16string_view text) : text_(text) {}
  operator const wchar_t*() const {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");
    return reinterpret_cast<const wchar_t*>(text_.c_str());
  }

 private:
  std::u16string text_;
};

inline WideText wide(std::u16string_view text) { return WideText(text); }

}  // namespace s::file
