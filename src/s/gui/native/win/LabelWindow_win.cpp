#include <windows.h>

#include "s/file/WideText.h"
#include "s/gui/native/win/LabelWindow.h"
#include "s/gui/win/Label.h"

namespace s::gui::native::win {

namespace {

gui::win::Label& labelOf(Component& owner) { return static_cast<gui::win::Label&>(owner); }

}  // namespace

bool LabelWindow::create(void* parentHwnd) { return createControl(parentHwnd, L"STATIC", SS_OWNERDRAW | SS_NOTIFY); }

void LabelWindow::refresh() {
  const auto text = labelOf(owner_).getText();
  SetWindowTextW(static_cast<HWND>(hwnd_), file::wide(text));
  InvalidateRect(static_cast<HWND>(hwnd_), nullptr, FALSE);
}

bool LabelWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  if (message == WM_SETCURSOR && labelOf(owner_).isLink()) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    result = TRUE;
    return true;
  }
  return ControlWindow::handleMessage(message, wParam, lParam, result);
}

void LabelWindow::command(unsigned code) {
  if (code == STN_CLICKED || code == STN_DBLCLK) labelOf(owner_).nativeClicked();
}

void LabelWindow::hotChanged(bool hot) { labelOf(owner_).nativeHovered(hot); }

}  // namespace s::gui::native::win
