#include "s/gui/win/Button.h"

#include "s/gui/drawer/IButton.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win {

void Button::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  drawer::PaintState behind = state;
  behind.background = getEffectiveBackground();
  getSkin().getButtonDrawer()->paint(canvas, area, text_.view(), behind);
}

void Button::measured(Size extent) {
  const int width = extent.width + 2 * kPaddingX;
  const int height = extent.height + 2 * kPaddingY;
  setContentSizes(width, height, width, height);
}

void Button::reset() {
  TextComponent::reset();
}

}  // namespace s::gui::win
