#pragma once
// The menu drawer: items on the menu background; the item under the pointer framed,
// a checked item marked at its left.
#include "s/gui/drawer/IMenu.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::menu::win {

class Basic final : public thread::PooledObject<Basic, IMenu> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_menu_win_Basic";

  void setColours(Rgb text, Rgb frame, Rgb background);
  void setSubColours(Rgb hotText, Rgb hotFrame, Rgb check);
  Colour getTextColour() const { return text_; }
  Colour getFrameColour() const { return frame_; }
  Colour getHotTextColour() const { return hotText_; }
  Colour getHotFrameColour() const { return hotFrame_; }
  Colour getCheckColour() const { return check_; }

  Colour getBackgroundColour() const override { return background_; }
  void paintBar(ICanvas& canvas, const Rect& area) const override;
  void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                 bool inBar) const override;
  void paintSeparator(ICanvas& canvas, const Rect& area) const override;
  void reset() override;

 private:
  Colour text_ = 0;
  Colour frame_ = 0x00A0A0A0;
  Colour background_ = 0x00F0F0F0;
  Colour hotText_ = kNoColour;
  Colour hotFrame_ = kNoColour;
  Colour check_ = kNoColour;
};

}  // namespace s::gui::drawer::menu::win
