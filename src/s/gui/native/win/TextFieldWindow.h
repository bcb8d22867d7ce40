#pragma once
// The window of a text field: a platform edit control in the skin's colours, with a
// one-pixel frame in the text drawer's frame colour.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class TextFieldWindow final : public ControlWindow {
 public:
  explicit TextFieldWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;
  bool handleReflected(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
  void command(unsigned code) override;

 private:
  // Set while the program puts a text into the control, whose change is no user edit.
  bool settingText_ = false;
};

}  // namespace s::gui::native::win
