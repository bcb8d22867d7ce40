#include "s/gui/drawer/border/win/Thin.h"

namespace s::gui::drawer::border::win {

void Thin::paint(ICanvas& canvas, const Rect& area) const {
  if (area.isEmpty()) return;
  canvas.fillRect({area.x, area.y, area.width, 1}, colour_);
  canvas.fillRect({area.x, area.y + area.height - 1, area.width, 1}, colour_);
}

}  // namespace s::gui::drawer::border::win
