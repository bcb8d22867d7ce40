// Linux has no screen the library knows of: the size of a common desktop stands in.
#include "s/app/win/AppWindow.h"

namespace s::app::win {

int AppWindow::virtualScreenWidth() { return 1920; }
int AppWindow::virtualScreenHeight() { return 1080; }

}  // namespace s::app::win
