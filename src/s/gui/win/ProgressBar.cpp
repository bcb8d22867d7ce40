#include "s/gui/win/ProgressBar.h"

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/scrollbar/win/Thin.h"

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
drawer::Colour ProgressBar::getBarColour() const {
  const auto* bar = dynamic_cast<const drawer::scrollbar::win::Thin*>(getSkin().getScrollBarDrawer());
  return bar ? bar->getThumbColour() : drawer::rgb(0, 120, 215);
}

drawer::Colour ProgressBar::getTrackColour() const {
  const auto* bar = dynamic_cast<const drawer::scrollbar::win::Thin*>(getSkin().getScrollBarDrawer());
  return bar ? bar->getTrackColour() : drawer::rgb(230, 230, 230);
}

void ProgressBar::reset() {
  Component::reset();
  low_ = 0;
  high_ = 100;
  position_ = 0;
  setContentSizes(kMinWidth, kMinHeight, kPreferredWidth, kPreferredHeight);
}

}  // namespace s::gui::win
