#include "s/gui/drawer/combo/win/Thin.h"

namespace s::gui::drawer::combo::win {

void Thin::setColours(Rgb text, Rgb frame) {
  text_ = toColour(text);
  frame_ = toColour(frame);
}

void Thin::paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                     bool inField) const {
  canvas.fillRect(area, state.background);
  if (state.selected && !inField) canvas.frameRect(area, frame_);
  Colour colour = inField ? text_ : itemText_;
  if (state.disabled) colour = mix(colour, state.background);
  canvas.drawText({area.x + 3, area.y, area.width - 6, area.height}, text, colour, ICanvas::kAlignLeft);
  if (state.focused && inField) canvas.dottedFrame({area.x + 1, area.y + 1, area.width - 2, area.height - 2}, colour);
}

void Thin::reset() { text_ = frame_ = itemText_ = 0; }

}  // namespace s::gui::drawer::combo::win
