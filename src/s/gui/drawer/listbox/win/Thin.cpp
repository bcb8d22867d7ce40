#include "s/gui/drawer/listbox/win/Thin.h"

namespace s::gui::drawer::listbox::win {

void Thin::setColours(Rgb background, Rgb text, Rgb selectionBackground, Rgb selectionText, Rgb alternate) {
  background_ = toColour(background);
  text_ = toColour(text);
  selectionBackground_ = toColour(selectionBackground);
  selectionText_ = toColour(selectionText);
  alternate_ = toColour(alternate);
}

void Thin::paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, int index,
                     const PaintState& state) const {
  const bool odd = (index & 1) != 0;
  canvas.fillRect(area, state.selected ? selectionBackground_ : odd ? alternate_ : background_);
  Colour colour = state.selected ? selectionText_ : text_;
  if (state.disabled) colour = mix(colour, background_);
  canvas.drawText({area.x + 3, area.y, area.width - 6, area.height}, text, colour, ICanvas::kAlignLeft);
}

void Thin::reset() {
  background_ = 0x00FFFFFF;
  text_ = 0;
  selectionBackground_ = 0;
  selectionText_ = 0x00FFFFFF;
  alternate_ = 0x00F3F3F3;
}

}  // namespace s::gui::drawer::listbox::win
