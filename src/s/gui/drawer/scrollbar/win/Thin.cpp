#include "s/gui/drawer/scrollbar/win/Thin.h"

#include <algorithm>
#include <cstdint>

namespace s::gui::drawer::scrollbar::win {

namespace {

constexpr int kMinThumb = 8;

}  // namespace

void Thin::setColours(Rgb thumb, Rgb track) {
  thumb_ = toColour(thumb);
  track_ = toColour(track);
}

void Thin::paint(ICanvas& canvas, const Rect& area, bool vertical, int position, int page, int range) const {
  if (area.isEmpty()) return;
  canvas.fillRect(area, track_);
  if (range <= 0) return;
  // 64-bit: the products of a long document's range with the bar's length overflow int.
  const int length = vertical ? area.height : area.width;
  const int64_t clampedPage = std::clamp<int64_t>(page, 0, range);
  const int thumb = static_cast<int>(std::max<int64_t>(kMinThumb, length * clampedPage / range));
  const int64_t travel = std::max(0, length - thumb);
  const int64_t movable = std::max<int64_t>(1, range - clampedPage);
  const int offset = static_cast<int>(travel * std::clamp<int64_t>(position, 0, movable) / movable);
  if (vertical) {
    canvas.fillRect({area.x + 1, area.y + offset, area.width - 2, std::min(thumb, area.height)}, thumb_);
  } else {
    canvas.fillRect({area.x + offset, area.y + 1, std::min(thumb, area.width), area.height - 2}, thumb_);
  }
}

void Thin::reset() {
  thumb_ = 0;
  track_ = 0x00C0C0C0;
}

}  // namespace s::gui::drawer::scrollbar::win
