#include "s/gui/win/TopLevelBase.h"

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IWindow.h"

namespace s::gui::win {

TopLevelBase::TopLevelBase() { setMargins(1); }

void TopLevelBase::setMenuBarNow(MenuEx* menu) {
  menuBar_ = menu;
  attachMenuBar();
}

void TopLevelBase::setSkin(const drawer::ISkin* skin) {
  skin_ = skin;
  skinChanged();
  redraw();
}

const drawer::ISkin& TopLevelBase::getSkin() const { return skin_ ? *skin_ : drawer::ISkin::getDefault(); }

unsigned TopLevelBase::getEffectiveBackground() const {
  return isTransparent() ? getSkin().getWindowBackground() : getBackgroundColour();
}

void TopLevelBase::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState&) {
  getSkin().getWindowDrawer()->paint(canvas, area);
  paintBorder(canvas, area);
}

void TopLevelBase::skinChanged() {
  BoxBase::skinChanged();
  attachMenuBar();
}

void TopLevelBase::reset() {
  BoxBase::reset();
  setMargins(1);
  skin_ = nullptr;
  title_.reset();
  menuBar_ = nullptr;
}

}  // namespace s::gui::win
