#include "s/gui/drawer/statusbar/win/Thin.h"

namespace s::gui::drawer::statusbar::win {

void Thin::paint(ICanvas& canvas, const Rect& area, const PaintState& state) const {
  canvas.fillRect(area, state.background);
  canvas.fillRect({area.x, area.y, area.width, 1}, line_);
}

}  // namespace s::gui::drawer::statusbar::win
