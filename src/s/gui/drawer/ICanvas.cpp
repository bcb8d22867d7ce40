#include "s/gui/drawer/ICanvas.h"

#include <cmath>

namespace s::gui::drawer {

void ICanvas::frameRect(const Rect& area, Colour colour) {
  if (area.isEmpty()) return;
  fillRect({area.x, area.y, area.width, 1}, colour);
  fillRect({area.x, area.y + area.height - 1, area.width, 1}, colour);
  fillRect({area.x, area.y, 1, area.height}, colour);
  fillRect({area.x + area.width - 1, area.y, 1, area.height}, colour);
}

void ICanvas::dottedFrame(const Rect& area, Colour colour) {
  if (area.isEmpty()) return;
  const int right = area.x + area.width - 1;
  const int bottom = area.y + area.height - 1;
  for (int x = area.x; x <= right; x += 2) {
    setPixel(x, area.y, colour);
    setPixel(x, bottom, colour);
  }
  for (int y = area.y; y <= bottom; y += 2) {
    setPixel(area.x, y, colour);
    setPixel(right, y, colour);
  }
}

void ICanvas::fillDisc(const Rect& area, Colour colour) {
  const int size = area.width < area.height ? area.width : area.height;
  if (size <= 0) return;
  // One span per row: the half-width of the circle through the row's centre.
  const double radius = size / 2.0;
  for (int row = 0; row < size; ++row) {
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(radius * radius - dy * dy);
    const int from = static_cast<int>(std::lround(radius - half));
    const int to = static_cast<int>(std::lround(radius + half));
    if (to > from) fillRect({area.x + from, area.y + row, to - from, 1}, colour);
  }
}

}  // namespace s::gui::drawer
