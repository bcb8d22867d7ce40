#include "s/gui/drawer/text/win/Basic.h"

namespace s::gui::drawer::text::win {

void Basic::setTextColours(Rgb normal, Rgb inverse, Rgb disabled) {
  normal_ = toColour(normal);
  inverse_ = toColour(inverse);
  disabled_ = toColour(disabled);
}

void Basic::setSubColours(Rgb selectionBackground, Rgb selectionText, Rgb frame) {
  selectionBackground_ = toColour(selectionBackground);
  selectionText_ = toColour(selectionText);
  frame_ = toColour(frame);
}

Colour Basic::getTextColour(const PaintState& state) const {
  if (state.disabled) return disabled_;
  if (state.selected && selectionText_ != kNoColour) return selectionText_;
  return normal_;
}

void Basic::paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                  unsigned align, Colour colour) const {
  if (state.selected) canvas.fillRect(area, selectionBackground_);
  canvas.drawText(area, text, colour != kNoColour && !state.disabled ? colour : getTextColour(state), align);
}

void Basic::reset() {
  normal_ = 0;
  inverse_ = 0x00FFFFFF;
  disabled_ = 0x00808080;
  selectionBackground_ = selectionText_ = kNoColour;
  frame_ = 0;
}

}  // namespace s::gui::drawer::text::win
