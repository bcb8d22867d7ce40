#pragma once
// The slider drawer of the thin skins: a line for the track and a framed thumb.
#include "s/gui/drawer/ISlider.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::slider::win {

class Thin final : public thread::PooledObject<Thin, ISlider> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_slider_win_Thin";
  static constexpr int kThumbWidth = 8;

  void setColours(Rgb frame, Rgb track);
  // The inside of the thumb (unset: what lies behind).
  void setThumbColour(Rgb colour) { thumb_ = toColour(colour); }
  Colour getFrameColour() const { return frame_; }
  Colour getTrackColour() const { return track_; }
  Colour getThumbColour() const { return thumb_; }

  void paint(ICanvas& canvas, const Rect& area, int position, int range, const PaintState& state) const override;
  void reset() override;

 private:
  Colour frame_ = 0;
  Colour track_ = 0x00C0C0C0;
  Colour thumb_ = kNoColour;
};

}  // namespace s::gui::drawer::slider::win
