#pragma once
// The scroll bar drawer of the thin skins: a flat track with a thumb.
#include "s/gui/drawer/IScrollBar.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::scrollbar::win {

class Thin final : public thread::PooledObject<Thin, IScrollBar> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_scrollbar_win_Thin";

  void setColours(Rgb thumb, Rgb track);
  Colour getThumbColour() const override { return thumb_; }
  Colour getTrackColour() const override { return track_; }

  void paint(ICanvas& canvas, const Rect& area, bool vertical, int position, int page, int range) const override;
  void reset() override;

 private:
  Colour thumb_ = 0;
  Colour track_ = 0x00C0C0C0;
};

}  // namespace s::gui::drawer::scrollbar::win
