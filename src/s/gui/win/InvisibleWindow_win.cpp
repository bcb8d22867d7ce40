#include <windows.h>

#include "s/gui/native/win/NativeFactory.h"
#include "s/gui/win/InvisibleWindow.h"

namespace s::gui::win {

InvisibleWindow::~InvisibleWindow() { destroy(); }

bool InvisibleWindow::create() {
  if (hwnd_) return true;
  if (!native::win::registerWindowClass()) return false;
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"KorvelWindowClass", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  return hwnd_ != nullptr;
}

void InvisibleWindow::destroy() {
  if (hwnd_) DestroyWindow(static_cast<HWND>(hwnd_));
  hwnd_ = nullptr;
}

void InvisibleWindow::setIcon(void* icon) {
  if (hwnd_) SendMessageW(static_cast<HWND>(hwnd_), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace s::gui::win
