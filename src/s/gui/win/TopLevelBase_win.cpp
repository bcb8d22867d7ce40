#include <windows.h>

#include "s/gui/native/NativeWindow.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/TopLevelBase.h"

namespace s::gui::win {

void TopLevelBase::attachMenuBar() {
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
