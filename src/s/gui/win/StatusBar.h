#pragma once
// The bar along a window's bottom edge: a row of groups (boxes the owner adds), the
// whole width of its parent, painted by the skin's status bar drawer. Its top margin
// leaves room for the drawer's line.
#include "s/gui/BoxBase.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class StatusBar final : public thread::PooledObject<StatusBar, BoxBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_StatusBar";
  static constexpr int kTopMargin = 3;
  static constexpr int kBottomMargin = 1;

  StatusBar();
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 private:
  void applyDefaults();
};

}  // namespace s::gui::win
