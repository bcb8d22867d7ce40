#pragma once
// The basic status bar with a size grip in its bottom-right corner.
#include "s/gui/drawer/IStatusBar.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::statusbar::win {

class BasicResizer final : public thread::PooledObject<BasicResizer, IStatusBar> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_statusbar_win_BasicResizer";
  // The grip's square edge.
  static constexpr int kGripSize = 12;

  void paint(ICanvas& canvas, const Rect& area, const PaintState& state) const override;
  void reset() override {}
};

}  // namespace s::gui::drawer::statusbar::win
