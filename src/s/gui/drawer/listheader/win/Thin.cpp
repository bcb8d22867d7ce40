#include "s/gui/drawer/listheader/win/Thin.h"

namespace s::gui::drawer::listheader::win {

void Thin::setColours(Rgb frame, Rgb background) {
  frame_ = toColour(frame);
  background_ = toColour(background);
}

void Thin::paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const {
  if (area.isEmpty()) return;
  canvas.fillRect(area, state.pressed ? mix(frame_, background_) : background_);
  canvas.fillRect({area.x + area.width - 1, area.y, 1, area.height}, frame_);
  canvas.drawText({area.x + 4, area.y, area.width - 8, area.height}, text, text_, ICanvas::kAlignLeft);
}

void Thin::reset() {
  frame_ = 0x00A0A0A0;
  background_ = 0x00F0F0F0;
  text_ = 0;
}

}  // namespace s::gui::drawer::listheader::win
