#pragma once
// The window of a progress bar: the platform's progress control.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class ProgressBarWindow final : public ControlWindow {
 public:
  explicit ProgressBarWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;
};

}  // namespace s::gui::native::win
