#pragma once
// The list header drawer of the thin skins: flat header cells framed at their right
// edge, darker while pressed.
#include "s/gui/drawer/IListHeader.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::listheader::win {

class Thin final : public thread::PooledObject<Thin, IListHeader> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_listheader_win_Thin";

  void setColours(Rgb frame, Rgb background);
  void setTextColour(Rgb colour) { text_ = toColour(colour); }
  Colour getFrameColour() const { return frame_; }
  Colour getBackgroundColour() const { return background_; }
  Colour getTextColour() const { return text_; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const override;
  void reset() override;

 private:
  Colour frame_ = 0x00A0A0A0;
  Colour background_ = 0x00F0F0F0;
  Colour text_ = 0;
};

}  // namespace s::gui::drawer::listheader::win
