#include "s/gui/drawer/border/win/UnderWindowMenu.h"

namespace s::gui::drawer::border::win {

void UnderWindowMenu::setColours(Rgb shadow, Rgb highlight) {
  shadow_ = toColour(shadow);
  highlight_ = toColour(highlight);
}

void UnderWindowMenu::paint(ICanvas& canvas, const Rect& area) const {
  if (area.isEmpty()) return;
  canvas.fillRect({area.x, area.y, area.width, 1}, shadow_);
  if (area.height > 1) canvas.fillRect({area.x, area.y + 1, area.width, 1}, highlight_);
}

void UnderWindowMenu::reset() {
  shadow_ = kEtchShadow;
  highlight_ = kEtchHighlight;
}

}  // namespace s::gui::drawer::border::win
