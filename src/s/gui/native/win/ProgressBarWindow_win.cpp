#include <windows.h>
#include <commctrl.h>

#include "s/gui/drawer/PaintState.h"
#include "s/gui/native/win/GdiCanvas.h"
#include "s/gui/native/win/ProgressBarWindow.h"
#include "s/gui/win/ProgressBar.h"

namespace s::gui::native::win {

bool ProgressBarWindow::create(void* parentHwnd) { return createControl(parentHwnd, PROGRESS_CLASSW, 0); }

void ProgressBarWindow::refresh() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const auto& bar = static_cast<const gui::win::ProgressBar&>(owner_);
  SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(bar.getLow()), bar.getHigh());
  SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(bar.getPosition()), 0);
  InvalidateRect(hwnd, nullptr, FALSE);
}

bool ProgressBarWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  // The platform's painting follows a visual style where there is one, whatever
  // colours it is given: the bar paints itself.
  const HWND hwnd = static_cast<HWND>(hwnd_);
  if (message == WM_ERASEBKGND) {
    result = 1;
    return true;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    {
      GdiCanvas canvas(dc);
      owner_.paint(canvas, {0, 0, client.right, client.bottom}, {});
    }
    EndPaint(hwnd, &paint);
    result = 0;
    return true;
  }
  return ControlWindow::handleMessage(message, wParam, lParam, result);
}

}  // namespace s::gui::native::win
