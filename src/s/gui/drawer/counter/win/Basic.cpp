#include "s/gui/drawer/counter/win/Basic.h"

namespace s::gui::drawer::counter::win {

void Basic::setColours(Rgb digits, Rgb background) {
  digits_ = toColour(digits);
  background_ = toColour(background);
}

void Basic::paint(ICanvas& canvas, const Rect& area, std::u16string_view digits) const {
  canvas.fillRect(area, background_);
  canvas.drawText({area.x + 2, area.y, area.width - 4, area.height}, digits, digits_, ICanvas::kAlignRight);
}

void Basic::reset() {
  digits_ = 0;
  background_ = 0x00FFFFFF;
}

}  // namespace s::gui::drawer::counter::win
