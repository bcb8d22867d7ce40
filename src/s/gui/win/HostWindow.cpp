#include "s/gui/win/HostWindow.h"

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IWindow.h"
#include "s/gui/native/NativeWindow.h"

namespace s::gui::win {

HostWindow::HostWindow() { setMargins(1); }

void HostWindow::close() { destroyNativeWindow(); }

void HostWindow::setMenuBar(MenuEx* menu) {
  menuBar_ = menu;
  attachMenuBar();
}

void HostWindow::setSkin(const drawer::ISkin* skin) {
  skin_ = skin;
  skinChanged();
  redraw();
}

const drawer::ISkin& HostWindow::getSkin() const { return skin_ ? *skin_ : drawer::ISkin::getDefault(); }

unsigned HostWindow::getEffectiveBackground() const {
  return isTransparent() ? getSkin().getWindowBackground() : getBackgroundColour();
}

void HostWindow::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState&) {
  getSkin().getWindowDrawer()->paint(canvas, area);
  paintBorder(canvas, area);
}

void HostWindow::skinChanged() {
  BoxBase::skinChanged();
  attachMenuBar();
}

void HostWindow::reset() {
  BoxBase::reset();
  setMargins(1);
  skin_ = nullptr;
  title_.reset();
  menuBar_ = nullptr;
  quitOnClose_ = false;
}

}  // namespace s::gui::win
