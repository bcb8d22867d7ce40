#include "s/gui/drawer/MemoryCanvas.h"

#include <algorithm>
#include <cstddef>

#include "s/gui/native/MemoryWindow.h"

namespace s::gui::drawer {

MemoryCanvas::MemoryCanvas(int width, int height, Colour fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

void MemoryCanvas::fillRect(const Rect& area, Colour colour) {
  if (colour == kNoColour) return;
  const int left = std::max(0, area.x);
  const int top = std::max(0, area.y);
  const int right = std::min(width_, area.x + std::max(0, area.width));
  const int bottom = std::min(height_, area.y + std::max(0, area.height));
  for (int y = top; y < bottom; ++y) {
    std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + left,
              pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + right, colour);
  }
}

void MemoryCanvas::drawText(const Rect& area, std::u16string_view text, Colour colour, unsigned align) {
  texts_.push_back({area, std::u16string(text), colour, align});
}

Size MemoryCanvas::measureText(std::u16string_view text) {
  return {static_cast<int>(text.size()) * native::MemoryWindow::kCharWidth, native::MemoryWindow::kLineHeight};
}

Colour MemoryCanvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace s::gui::drawer
