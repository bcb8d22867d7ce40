#pragma once
// The window of a progress bar: the platform's progress control (its range and position
// messages), painted by its component in the skin's colours.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class ProgressBarWindow final : public ControlWindow {
 public:
  explicit ProgressBarWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
};

}  // namespace s::gui::native::win
