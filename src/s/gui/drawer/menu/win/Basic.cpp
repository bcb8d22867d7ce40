#include "s/gui/drawer/menu/win/Basic.h"

#include <algorithm>

namespace s::gui::drawer::menu::win {

namespace {

Colour either(Colour preferred, Colour fallback) { return preferred != kNoColour ? preferred : fallback; }

}  // namespace

void Basic::setColours(Rgb text, Rgb frame, Rgb background) {
  text_ = toColour(text);
  frame_ = toColour(frame);
  background_ = toColour(background);
}

void Basic::setSubColours(Rgb hotText, Rgb hotFrame, Rgb check) {
  hotText_ = toColour(hotText);
  hotFrame_ = toColour(hotFrame);
  check_ = toColour(check);
}

void Basic::paintBar(ICanvas& canvas, const Rect& area) const { canvas.fillRect(area, background_); }

void Basic::paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                      bool inBar) const {
  canvas.fillRect(area, background_);
  Colour colour = state.hot ? either(hotText_, text_) : text_;
  if (state.disabled) colour = mix(colour, background_);
  if (state.hot || state.pressed) canvas.frameRect(area, either(hotFrame_, frame_));
  if (inBar) {
    canvas.drawText(area, text, colour, ICanvas::kAlignCenter);
    return;
  }
  // Menus keep a column of a line's height at the left for the check mark.
  const int line = canvas.measureText(u"").height;
  if (state.checked) {
    const int side = std::max(4, line / 3);
    canvas.fillRect({area.x + (line - side) / 2 + 2, area.y + (area.height - side) / 2, side, side},
                    either(check_, colour));
  }
  canvas.drawText({area.x + line + 6, area.y, area.width - line - 12, area.height}, text, colour, ICanvas::kAlignLeft);
}

void Basic::paintSeparator(ICanvas& canvas, const Rect& area) const {
  canvas.fillRect(area, background_);
  canvas.fillRect({area.x + 2, area.y + area.height / 2, area.width - 4, 1}, frame_);
}

void Basic::reset() {
  text_ = 0;
  frame_ = 0x00A0A0A0;
  background_ = 0x00F0F0F0;
  hotText_ = hotFrame_ = check_ = kNoColour;
}

}  // namespace s::gui::drawer::menu::win
