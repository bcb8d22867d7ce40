#include <windows.h>

#include <string>

#include "s/file/WideText.h"
#include "s/gui/native/win/TextFieldWindow.h"
#include "s/gui/win/TextField.h"

namespace s::gui::native::win {

namespace {

gui::win::TextField& fieldOf(Component& owner) { return static_cast<gui::win::TextField&>(owner); }

std::u16string windowText(HWND hwnd) {
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
  const int length = GetWindowTextW(hwnd, reinterpret_cast<LPWSTR>(text.data()), static_cast<int>(text.size()));
  text.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return text;
}

}  // namespace

bool TextFieldWindow::create(void* parentHwnd) {
  return createControl(parentHwnd, L"EDIT", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP);
}

void TextFieldWindow::refresh() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const auto text = fieldOf(owner_).getText();
  if (windowText(hwnd) != text) {
    settingText_ = true;
    SetWindowTextW(hwnd, file::wide(text));
    settingText_ = false;
  }
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

bool TextFieldWindow::handleReflected(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  // A disabled edit control asks for the static colours.
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    const gui::win::TextField& field = fieldOf(owner_);
    SetTextColor(dc, field.getTextColour());
    SetBkColor(dc, field.getFieldBackground());
    SetDCBrushColor(dc, field.getFieldBackground());
    result = reinterpret_cast<intptr_t>(GetStockObject(DC_BRUSH));
    return true;
  }
  return ControlWindow::handleReflected(message, wParam, lParam, result);
}

bool TextFieldWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  if (message == WM_NCPAINT) {
    // The border is the one-pixel frame of WS_BORDER, painted in the skin's colour.
    const HWND hwnd = static_cast<HWND>(hwnd_);
    HDC dc = GetWindowDC(hwnd);
    RECT outline;
    GetWindowRect(hwnd, &outline);
    OffsetRect(&outline, -outline.left, -outline.top);
    SetDCBrushColor(dc, fieldOf(owner_).getFrameColour());
    FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    ReleaseDC(hwnd, dc);
    result = 0;
    return true;
  }
  return ControlWindow::handleMessage(message, wParam, lParam, result);
}

void TextFieldWindow::command(unsigned code) {
  if (code != EN_CHANGE || settingText_) return;
  fieldOf(owner_).nativeTextChanged(windowText(static_cast<HWND>(hwnd_)));
}

}  // namespace s::gui::native::win
