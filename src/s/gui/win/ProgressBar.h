#pragma once
// A progress bar over a range. It takes a range or a position only when the values
// fit in 24 bits (0 … 16 777 215); others leave it unchanged, so a caller scales large
// counts down first. Its size: 50 × 12 at least, 150 × 14 preferred.
#include "s/gui/Component.h"
#include "s/gui/drawer/Colour.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class ProgressBar final : public thread::PooledObject<ProgressBar, Component> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_ProgressBar";
  static constexpr int kLargestValue = 0xFFFFFF;

  ProgressBar();

  // Both values within 0 … kLargestValue, low ≤ high; otherwise nothing changes.
  bool setRange(int low, int high);
  bool setPosition(int position);
  int getLow() const { return low_; }
  int getHigh() const { return high_; }
  int getPosition() const { return position_; }
  // The colours the bar paints with: the done part and its frame, and the rest.
  drawer::Colour getBarColour() const;
  drawer::Colour getTrackColour() const;
  // The width of the done part in a bar of width pixels (inside a one-pixel frame).
  int doneWidth(int width) const;

  NativeKind getNativeKind() const override { return NativeKind::kProgressBar; }
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 private:
  int low_ = 0;
  int high_ = 100;
  int position_ = 0;
};

}  // namespace s::gui::win
