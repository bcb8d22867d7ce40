#include "s/gui/win/ProgressBar.h"

#include <algorithm>
#include <cstdint>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/IScrollBar.h"

namespace s::gui::win {

namespace {

constexpr int kMinWidth = 50, kMinHeight = 12, kPreferredWidth = 150, kPreferredHeight = 14;

bool fits(int value) { return value >= 0 && value <= ProgressBar::kLargestValue; }

}  // namespace

ProgressBar::ProgressBar() { setContentSizes(kMinWidth, kMinHeight, kPreferredWidth, kPreferredHeight); }

bool ProgressBar::setRange(int low, int high) {
  if (!fits(low) || !fits(high) || low > high) return false;
  low_ = low;
  high_ = high;
  refreshNative();
  return true;
}

bool ProgressBar::setPosition(int position) {
  if (!fits(position)) return false;
  position_ = position;
  refreshNative();
  return true;
}

// The bar borrows the scroll bar's colours: thumb for the done part, track for the rest.
drawer::Colour ProgressBar::getBarColour() const { return getSkin().getScrollBarDrawer()->getThumbColour(); }

drawer::Colour ProgressBar::getTrackColour() const { return getSkin().getScrollBarDrawer()->getTrackColour(); }

int ProgressBar::doneWidth(int width) const {
  const int inside = width - 2;
  if (inside <= 0 || high_ <= low_) return 0;
  // Positions are at most 24 bits and widths far below 2^31 ÷ 2^24: no overflow in 64.
  const int64_t done = int64_t{inside} * (std::clamp(position_, low_, high_) - low_) / (high_ - low_);
  return static_cast<int>(done);
}

void ProgressBar::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState&) {
  canvas.fillRect(area, getTrackColour());
  canvas.frameRect(area, getBarColour());
  canvas.fillRect({area.x + 1, area.y + 1, doneWidth(area.width), area.height - 2}, getBarColour());
}

void ProgressBar::reset() {
  Component::reset();
  low_ = 0;
  high_ = 100;
  position_ = 0;
  setContentSizes(kMinWidth, kMinHeight, kPreferredWidth, kPreferredHeight);
}

}  // namespace s::gui::win
