#include "s/gui/drawer/radiobutton/win/Thin.h"

namespace s::gui::drawer::radiobutton::win {

void Thin::setColours(Rgb frame, Rgb text) {
  colours_.frame = toColour(frame);
  colours_.text = toColour(text);
}

void Thin::paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const {
  paintMarkedText(canvas, area, text, state, colours_, true);
}

}  // namespace s::gui::drawer::radiobutton::win
