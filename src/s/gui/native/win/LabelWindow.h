#pragma once
// The window of a label: an owner-drawn platform static control that reports clicks and
// shows the hand cursor over a link.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class LabelWindow final : public ControlWindow {
 public:
  explicit LabelWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
  void command(unsigned code) override;
  void hotChanged(bool hot) override;
};

}  // namespace s::gui::native::win
