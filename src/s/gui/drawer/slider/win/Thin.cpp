#include "s/gui/drawer/slider/win/Thin.h"

#include <algorithm>
#include <cstdint>

namespace s::gui::drawer::slider::win {

void Thin::setColours(Rgb frame, Rgb track) {
  frame_ = toColour(frame);
  track_ = toColour(track);
}

void Thin::paint(ICanvas& canvas, const Rect& area, int position, int range, const PaintState& state) const {
  if (area.isEmpty()) return;
  canvas.fillRect(area, state.background);
  canvas.fillRect({area.x, area.y + area.height / 2 - 1, area.width, 2}, track_);
  const int64_t travel = std::max(0, area.width - kThumbWidth);
  const int offset = range > 0 ? static_cast<int>(travel * std::clamp(position, 0, range) / range) : 0;
  const Rect thumb{area.x + offset, area.y, std::min(kThumbWidth, area.width), area.height};
  canvas.fillRect(thumb, thumb_ != kNoColour ? thumb_ : state.background);
  canvas.frameRect(thumb, state.disabled ? mix(frame_, state.background) : frame_);
}

void Thin::reset() {
  frame_ = 0;
  track_ = 0x00C0C0C0;
  thumb_ = kNoColour;
}

}  // namespace s::gui::drawer::slider::win
