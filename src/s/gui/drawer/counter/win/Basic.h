#pragma once
// The counter drawer: right-aligned digits on a field of their own colour.
#include "s/gui/drawer/ICounter.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::counter::win {

class Basic final : public thread::PooledObject<Basic, ICounter> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_counter_win_Basic";

  void setColours(Rgb digits, Rgb background);
  Colour getDigitColour() const { return digits_; }
  Colour getBackgroundColour() const { return background_; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view digits) const override;
  void reset() override;

 private:
  Colour digits_ = 0;
  Colour background_ = 0x00FFFFFF;
};

}  // namespace s::gui::drawer::counter::win
