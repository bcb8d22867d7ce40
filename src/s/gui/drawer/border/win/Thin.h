#pragma once
// Lines along the top and the bottom edge of the component: a thin separation from
// what lies above and below, open at the sides.
#include "s/gui/drawer/IBorder.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::border::win {

class Thin final : public thread::PooledObject<Thin, IBorder> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_border_win_Thin";

  void setColour(Rgb colour) { colour_ = toColour(colour); }
  Colour getColour() const { return colour_; }

  void paint(ICanvas& canvas, const Rect& area) const override;
  void reset() override { colour_ = 0; }

 private:
  Colour colour_ = 0;
};

}  // namespace s::gui::drawer::border::win
