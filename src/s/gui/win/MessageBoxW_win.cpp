#include <windows.h>

#include "s/file/WideText.h"
#include "s/gui/win/MessageBoxW.h"

namespace s::gui::win {

bool MessageBoxW::showOnPlatform(Kind kind, std::u16string_view title, std::u16string_view text, void* owner) {
  UINT style = MB_OK | MB_ICONINFORMATION;
  if (kind == kError) style = MB_OK | MB_ICONERROR;
  if (kind == kWarning) style = MB_OK | MB_ICONWARNING;
  if (kind == kQuestion) style = MB_YESNO | MB_ICONQUESTION;
  const int answer = ::MessageBoxW(static_cast<HWND>(owner), file::wide(text), file::wide(title), style | MB_SETFOREGROUND);
  return answer == IDYES;
}

}  // namespace s::gui::win
