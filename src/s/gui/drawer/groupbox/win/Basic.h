#pragma once
// The group box drawer without a theme: an etched frame with the title set into it.
#include "s/gui/drawer/IGroupBox.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::groupbox::win {

class Basic final : public thread::PooledObject<Basic, IGroupBox> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_groupbox_win_Basic";

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight, Colour frame,
             const PaintState& state) const override;
  void reset() override {}
};

}  // namespace s::gui::drawer::groupbox::win
