#include "s/gui/drawer/statusbar/win/Basic.h"

namespace s::gui::drawer::statusbar::win {

void Basic::paintBar(ICanvas& canvas, const Rect& area, const PaintState& state) {
  canvas.fillRect(area, state.background);
  canvas.fillRect({area.x, area.y, area.width, 1}, kEtchShadow);
  canvas.fillRect({area.x, area.y + 1, area.width, 1}, kEtchHighlight);
}

void Basic::paint(ICanvas& canvas, const Rect& area, const PaintState& state) const { paintBar(canvas, area, state); }

}  // namespace s::gui::drawer::statusbar::win
