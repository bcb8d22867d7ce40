#include <windows.h>

#include "s/file/WideText.h"
#include "s/gui/native/win/ButtonWindow.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"

namespace s::gui::native::win {

bool ButtonWindow::create(void* parentHwnd) { return createControl(parentHwnd, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP); }

void ButtonWindow::refresh() {
  // The platform keeps the text too: screen readers and tests read it there.
  const auto& text = static_cast<const TextComponent&>(owner_).getText();
  SetWindowTextW(static_cast<HWND>(hwnd_), file::wide(text));
  InvalidateRect(static_cast<HWND>(hwnd_), nullptr, FALSE);
}

void ButtonWindow::command(unsigned code) {
  // An owner-drawn button reports a quick second click as a double click.
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
  if (owner_.getNativeKind() == Component::NativeKind::kCheckBox) {
    static_cast<gui::win::CheckBox&>(owner_).nativeClicked();
  } else {
    static_cast<gui::win::Button&>(owner_).nativePressed();
  }
}

void ButtonWindow::hotChanged(bool) { InvalidateRect(static_cast<HWND>(hwnd_), nullptr, FALSE); }

}  // namespace s::gui::native::win
