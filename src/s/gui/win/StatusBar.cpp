#include "s/gui/win/StatusBar.h"

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IStatusBar.h"
#include "s/gui/drawer/PaintState.h"

namespace s::gui::win {

StatusBar::StatusBar() { applyDefaults(); }

void StatusBar::applyDefaults() {
  useRow();
  alignLeft();
  alignMiddle();
  setWidthPercent(100, false);
  setTopMargin(kTopMargin);
  setBottomMargin(kBottomMargin);
}

void StatusBar::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  drawer::PaintState current = state;
  current.background = getEffectiveBackground();
  getSkin().getStatusBarDrawer()->paint(canvas, area, current);
  paintBorder(canvas, area);
}

void StatusBar::reset() {
  BoxBase::reset();
  applyDefaults();
}

}  // namespace s::gui::win
