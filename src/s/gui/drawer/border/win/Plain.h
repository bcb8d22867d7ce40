#pragma once
// A one-pixel frame in one colour around the component.
#include "s/gui/drawer/IBorder.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::border::win {

class Plain final : public thread::PooledObject<Plain, IBorder> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_border_win_Plain";

  void setColour(Rgb colour) { colour_ = toColour(colour); }
  Colour getColour() const { return colour_; }

  void paint(ICanvas& canvas, const Rect& area) const override { canvas.frameRect(area, colour_); }
  void reset() override { colour_ = 0; }

 private:
  Colour colour_ = 0;
};

}  // namespace s::gui::drawer::border::win
