#include <windows.h>

#include "s/gui/Component.h"
#include "s/gui/native/win/ControlWindow.h"
#include "s/gui/native/win/Font.h"
#include "s/gui/native/win/GdiCanvas.h"

namespace s::gui::native::win {

bool ControlWindow::createControl(void* parentHwnd, const wchar_t* className, unsigned long style,
                                  unsigned long exStyle) {
  HWND hwnd = CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, static_cast<HWND>(parentHwnd),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  bind(hwnd, true);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(toolkitFont()), FALSE);
  refresh();
  return true;
}

drawer::PaintState ControlWindow::stateOf(const void* item) const {
  const auto* draw = static_cast<const DRAWITEMSTRUCT*>(item);
  drawer::PaintState state;
  state.pressed = (draw->itemState & ODS_SELECTED) != 0;
  state.focused = (draw->itemState & ODS_FOCUS) != 0 && (draw->itemState & ODS_NOFOCUSRECT) == 0;
  state.disabled = (draw->itemState & ODS_DISABLED) != 0;
  state.hot = hot_;
  state.background = owner_.getEffectiveBackground();
  return state;
}

void ControlWindow::drawItem(const void* item) {
  const auto* draw = static_cast<const DRAWITEMSTRUCT*>(item);
  GdiCanvas canvas(draw->hDC);
  const RECT& r = draw->rcItem;
  owner_.paint(canvas, {r.left, r.top, r.right - r.left, r.bottom - r.top}, stateOf(item));
}

bool ControlWindow::handleReflected(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  switch (message) {
    case WM_DRAWITEM:
      drawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      command(HIWORD(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

bool ControlWindow::handleMessage(unsigned message, uintptr_t, intptr_t, intptr_t&) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  if (message == WM_MOUSEMOVE && !hot_) {
    hot_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&track);
    hotChanged(true);
  } else if (message == WM_MOUSELEAVE && hot_) {
    hot_ = false;
    hotChanged(false);
  }
  return false;
}

}  // namespace s::gui::native::win
