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
  if (!window->create(title, width, height, menuBar_ ? menuBar_->getNativeMenu(true) : nullptr)) {
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

void HostWindow::attachMenuBar() {
  native::NativeWindow* native = getNativeWindow();
  if (!native) return;
  const HWND hwnd = static_cast<HWND>(native->getHandle());
  if (!menuBar_) {
    SetMenu(hwnd, nullptr);
    return;
  }
  HMENU menu = static_cast<HMENU>(menuBar_->getNativeMenu(true));
  if (GetMenu(hwnd) != menu) SetMenu(hwnd, menu);
  menuBar_->applySkin(getSkin());
  DrawMenuBar(hwnd);
}

}  // namespace s::gui::win
