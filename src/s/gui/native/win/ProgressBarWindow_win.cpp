#include <windows.h>
#include <commctrl.h>

#include "s/gui/native/win/ProgressBarWindow.h"
#include "s/gui/win/ProgressBar.h"

namespace s::gui::native::win {

bool ProgressBarWindow::create(void* parentHwnd) { return createControl(parentHwnd, PROGRESS_CLASSW, 0); }

void ProgressBarWindow::refresh() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const auto& bar = static_cast<const gui::win::ProgressBar&>(owner_);
  SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(bar.getLow()), bar.getHigh());
  SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(bar.getPosition()), 0);
  SendMessageW(hwnd, PBM_SETBARCOLOR, 0, bar.getBarColour());
  SendMessageW(hwnd, PBM_SETBKCOLOR, 0, bar.getTrackColour());
}

}  // namespace s::gui::native::win
