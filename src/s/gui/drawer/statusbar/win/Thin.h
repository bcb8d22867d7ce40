#pragma once
// The status bar drawer of the thin skins: one line along the top edge.
#include "s/gui/drawer/IStatusBar.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::statusbar::win {

class Thin final : public thread::PooledObject<Thin, IStatusBar> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_statusbar_win_Thin";

  void setLineColour(Rgb colour) { line_ = toColour(colour); }
  Colour getLineColour() const { return line_; }

  void paint(ICanvas& canvas, const Rect& area, const PaintState& state) const override;
  void reset() override { line_ = 0; }

 private:
  Colour line_ = 0;
};

}  // namespace s::gui::drawer::statusbar::win
