#pragma once
// The window of a button or a check box: an owner-drawn platform button.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class ButtonWindow final : public ControlWindow {
 public:
  explicit ButtonWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;

 protected:
  void command(unsigned code) override;
  void hotChanged(bool hot) override;
};

}  // namespace s::gui::native::win
