#pragma once
// The group box drawer of the thin skins: a one-pixel frame with the title set into
// its top line (see s/gui/drawer/GroupFrame.h).
#include "s/gui/drawer/IGroupBox.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::groupbox::win {

class Thin final : public thread::PooledObject<Thin, IGroupBox> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_groupbox_win_Thin";

  void setFrameColour(Rgb colour) { frame_ = toColour(colour); }
  // The title's colour, normally and when the group box is disabled.
  void setSubColours(Rgb title, Rgb disabledTitle);
  Colour getFrameColour() const { return frame_; }
  Colour getTitleColour() const { return title_; }
  Colour getDisabledTitleColour() const { return disabledTitle_; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight, Colour frame,
             const PaintState& state) const override;
  void reset() override;

 private:
  Colour frame_ = 0;
  Colour title_ = 0;
  Colour disabledTitle_ = 0x00808080;
};

}  // namespace s::gui::drawer::groupbox::win
