#pragma once
// The combo box drawer of the thin skins: the chosen entry in the box, and the list's
// entries with the one under the pointer framed.
#include "s/gui/drawer/ICombo.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::combo::win {

class Thin final : public thread::PooledObject<Thin, ICombo> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_combo_win_Thin";

  // The text in the box, and the frame (of the box, and around the entry under the
  // pointer).
  void setColours(Rgb text, Rgb frame);
  // The text of the entries in the open list.
  void setItemTextColour(Rgb colour) { itemText_ = toColour(colour); }
  Colour getTextColour() const { return text_; }
  Colour getFrameColour() const override { return frame_; }
  Colour getItemTextColour() const { return itemText_; }

  void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                 bool inField) const override;
  void reset() override;

 private:
  Colour text_ = 0;
  Colour frame_ = 0;
  Colour itemText_ = 0;
};

}  // namespace s::gui::drawer::combo::win
