#pragma once
// The status bar drawer without a theme: an etched line along the top edge.
#include "s/gui/drawer/IStatusBar.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::statusbar::win {

class Basic final : public thread::PooledObject<Basic, IStatusBar> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_statusbar_win_Basic";

  void paint(ICanvas& canvas, const Rect& area, const PaintState& state) const override;
  void reset() override {}

  // The background and the etched line, shared with BasicResizer.
  static void paintBar(ICanvas& canvas, const Rect& area, const PaintState& state);
};

}  // namespace s::gui::drawer::statusbar::win
