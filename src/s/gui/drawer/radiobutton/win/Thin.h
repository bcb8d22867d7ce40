#pragma once
// The radio button drawer of the thin skins (see s/gui/drawer/MarkedText.h).
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/MarkedText.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::radiobutton::win {

class Thin final : public thread::PooledObject<Thin, IRadioButton> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_radiobutton_win_Thin";

  // The frame of the mark box, and the text.
  void setColours(Rgb frame, Rgb text);
  // The mark of a chosen box (unset: the text colour).
  void setMarkColour(Rgb mark) { colours_.mark = toColour(mark); }
  Colour getFrameColour() const { return colours_.frame; }
  Colour getTextColour() const { return colours_.text; }
  Colour getMarkColour() const { return colours_.mark; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const override;
  void reset() override { colours_ = {}; }

 private:
  MarkColours colours_;
};

}  // namespace s::gui::drawer::radiobutton::win
