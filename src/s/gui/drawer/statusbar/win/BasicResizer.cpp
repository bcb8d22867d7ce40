#include "s/gui/drawer/statusbar/win/BasicResizer.h"

#include "s/gui/drawer/statusbar/win/Basic.h"

namespace s::gui::drawer::statusbar::win {

void BasicResizer::paint(ICanvas& canvas, const Rect& area, const PaintState& state) const {
  Basic::paintBar(canvas, area, state);
  // Three diagonals of dots, each dot a shadow pixel with a highlight below right.
  const int right = area.x + area.width - 2;
  const int bottom = area.y + area.height - 2;
  for (int diagonal = 0; diagonal < 3; ++diagonal) {
    for (int dot = 0; dot <= diagonal; ++dot) {
      const int x = right - 4 * (diagonal - dot) - 1;
      const int y = bottom - 4 * dot - 1;
      if (x < area.x || y < area.y + 2) continue;
      canvas.fillRect({x - 1, y - 1, 2, 2}, kEtchShadow);
      canvas.setPixel(x + 1, y + 1, kEtchHighlight);
    }
  }
}

}  // namespace s::gui::drawer::statusbar::win
