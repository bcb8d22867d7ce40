#include "s/gui/drawer/button/win/Thin.h"

namespace s::gui::drawer::button::win {

namespace {

Colour either(Colour preferred, Colour fallback) { return preferred != kNoColour ? preferred : fallback; }

}  // namespace

void Thin::paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const {
  if (area.isEmpty()) return;
  Colour face = either(face_, state.background);
  if (state.pressed) {
    // Without a pressed face the press still shows: halfway to the frame colour.
    face = either(pressedFace_, mix(frame_, state.background));
  } else if (state.hot) {
    face = either(hotFace_, face);
  }
  canvas.fillRect(area, face);
  canvas.frameRect(area, state.hot && !state.pressed ? either(hotFrame_, frame_) : frame_);

  Colour colour = state.pressed ? either(pressedText_, text_) : text_;
  if (state.disabled) colour = mix(colour, face);
  const int shift = state.pressed ? 1 : 0;
  canvas.drawText({area.x + 2 + shift, area.y + 1 + shift, area.width - 4, area.height - 2}, text, colour,
                  ICanvas::kAlignCenter);
  if (state.focused) canvas.dottedFrame({area.x + 3, area.y + 3, area.width - 6, area.height - 6}, colour);
}

void Thin::reset() {
  frame_ = 0;
  face_ = hotFrame_ = pressedFace_ = kNoColour;
  text_ = 0;
  hotFace_ = pressedText_ = kNoColour;
}

}  // namespace s::gui::drawer::button::win
