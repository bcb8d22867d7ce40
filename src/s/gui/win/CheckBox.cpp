#include "s/gui/win/CheckBox.h"

#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win {

void CheckBox::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  redraw();
}

void CheckBox::nativeClicked() {
  checked_ = !checked_;
  redraw();
  fireEvent(kEventToggled);
}

void CheckBox::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  drawer::PaintState current = state;
  current.background = getEffectiveBackground();
  current.checked = checked_;
  getSkin().getCheckBoxDrawer()->paint(canvas, area, text_.view(), current);
}

void CheckBox::measured(Size extent) {
  const int width = extent.width + extent.height + extent.height / 6;
  setContentSizes(width, extent.height, width, extent.height);
}

void CheckBox::reset() {
  TextComponent::reset();
  checked_ = false;
}

}  // namespace s::gui::win
