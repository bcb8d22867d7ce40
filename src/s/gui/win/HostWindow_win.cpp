#include <windows.h>

#include "s/gui/native/win/TopLevelWindow.h"
#include "s/gui/win/HostWindow.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/MessageBoxW.h"

namespace s::gui::win {

bool HostWindow::open(std::u16string_view title, int width, int height) {
  if (isOpen()) return true;
  title_.assign(title);
  auto* window = new native::win::TopLevelWindow(*this);
  if (!window->createWithClientSize(title, width, height, menuBar_ ? menuBar_->getNativeMenu(true) : nullptr)) {
    delete window;
    MessageBoxW::showWarning(u"Error!", u"Window Creation Failed!");
    return false;
  }
  // The menu bar may wrap: the client area is what the platform made of the request.
  const Size client = window->getClientSize();
  nativeWindowResized(client.width, client.height);
  attachRootWindow(window);
  attachMenuBar();
  UpdateWindow(static_cast<HWND>(window->getHandle()));
  return true;
}

void HostWindow::frameDestroyed() {
  if (quitOnClose_) PostQuitMessage(0);
}

}  // namespace s::gui::win
