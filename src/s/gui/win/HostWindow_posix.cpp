#include "s/gui/native/MemoryWindow.h"
#include "s/gui/win/HostWindow.h"

namespace s::gui::win {

// No window system here: the window and its children are kept in memory.
bool HostWindow::open(std::u16string_view title, int width, int height) {
  title_.assign(title);
  attachRootWindow(new native::MemoryWindow(*this, nullptr));
  nativeWindowResized(width, height);
  return true;
}

void HostWindow::attachMenuBar() {}

}  // namespace s::gui::win
