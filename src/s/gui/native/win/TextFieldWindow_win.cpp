#include <windows.h>

#include <algorithm>
#include <string>

#include "s/base/win/Scoped_win.h"
#include "s/file/WideText.h"
#include "s/gui/native/win/Font.h"
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

// The frame: one pixel, then room at the sides; the rest of the height is split above
// and below the text line, so the text sits in the middle of the field.
constexpr int kFrame = 1;
constexpr int kSideRoom = kFrame + 2;

}  // namespace

bool TextFieldWindow::create(void* parentHwnd) {
  // No WS_BORDER: the platform's edit controls draw that border themselves (Wine even
  // inside the client area); the field's frame is non-client area of its own instead.
  return createControl(parentHwnd, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP);
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
  const HWND hwnd = static_cast<HWND>(hwnd_);
  if (message == WM_NCCALCSIZE) {
    // The first rectangle is the window's; what remains of it is the client area.
    RECT& area = *reinterpret_cast<RECT*>(lParam);
    const int height = area.bottom - area.top;
    const int line = measureInToolkitFont(u"").height;
    const int above = std::max(kFrame, (height - line) / 2);
    const int below = std::max(kFrame, height - above - line);
    area.left += kSideRoom;
    area.right = std::max(area.left, area.right - kSideRoom);
    area.top += above;
    area.bottom = std::max(area.top, area.bottom - below);
    result = 0;
    return true;
  }
  if (message == WM_NCPAINT) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    RECT client{};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    const base::win::WindowDc windowDc = base::win::WindowDc::whole(hwnd);
    const HDC dc = windowDc.get();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    const gui::win::TextField& field = fieldOf(owner_);
    SetDCBrushColor(dc, field.getFieldBackground());
    FillRect(dc, &window, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, field.getFrameColour());
    FrameRect(dc, &window, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
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
