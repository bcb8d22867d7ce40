#include <windows.h>

#include "s/file/WideText.h"
#include "s/gui/win/MessageBoxW.h"

namespace s::gui::win {

void MessageBoxW::showOnPlatform(Kind kind, std::u16string_view title, std::u16string_view text) {
  const UINT icon = kind == kError ? MB_ICONERROR : kind == kWarning ? MB_ICONWARNING : MB_ICONINFORMATION;
  ::MessageBoxW(nullptr, file::wide(text), file::wide(title), MB_OK | icon | MB_SETFOREGROUND);
}

}  // namespace s::gui::win
