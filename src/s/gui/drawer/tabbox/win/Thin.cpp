#include "s/gui/drawer/tabbox/win/Thin.h"

namespace s::gui::drawer::tabbox::win {

void Thin::setSubColours(Rgb text, Rgb selectedText, Rgb disabledText) {
  text_ = toColour(text);
  selectedText_ = toColour(selectedText);
  disabledText_ = toColour(disabledText);
}

void Thin::paintTab(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const {
  if (area.isEmpty()) return;
  canvas.fillRect(area, state.background);
  // Top, left and right edges; an unchosen tab is closed at the bottom as well.
  canvas.fillRect({area.x, area.y, area.width, 1}, frame_);
  canvas.fillRect({area.x, area.y, 1, area.height}, frame_);
  canvas.fillRect({area.x + area.width - 1, area.y, 1, area.height}, frame_);
  if (!state.selected) canvas.fillRect({area.x, area.y + area.height - 1, area.width, 1}, frame_);
  const Colour colour = state.disabled ? disabledText_ : state.selected ? selectedText_ : text_;
  canvas.drawText(area, text, colour, ICanvas::kAlignCenter);
}

void Thin::reset() {
  frame_ = text_ = selectedText_ = 0;
  disabledText_ = 0x00808080;
}

}  // namespace s::gui::drawer::tabbox::win
