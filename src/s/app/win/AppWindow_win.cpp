#include <windows.h>

#include "s/app/win/AppWindow.h"

namespace s::app::win {

int AppWindow::virtualScreenWidth() { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
int AppWindow::virtualScreenHeight() { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }

}  // namespace s::app::win
