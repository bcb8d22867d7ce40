#include "s/gui/win/HostWindow.h"

namespace s::gui::win {

void HostWindow::close() { destroyNativeWindow(); }

void HostWindow::reset() {
  TopLevelBase::reset();
  quitOnClose_ = false;
}

}  // namespace s::gui::win
