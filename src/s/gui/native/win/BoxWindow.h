#pragma once
// The window of a box (and of spacers): a child window of the toolkit's class that
// paints its component (double-buffered) and passes its children's control messages
// on to them.
#include "s/gui/native/win/HwndWindow.h"

namespace s::gui::native::win {

class BoxWindow : public HwndWindow {
 public:
  explicit BoxWindow(Component& owner) : HwndWindow(owner) {}

  // Creates the window under parent (hidden, empty, control id 0); false when the
  // platform refuses.
  bool create(void* parentHwnd);
  // Sends the toolkit's create-child message, so the child is attached on this
  // window's thread.
  void adoptChild(IComponent& child) override;
  // Sends the window its destroy-self message.
  void destroy() override;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
  // Paints the component into the device context (an HDC) of a client area width × height.
  void paintInto(void* dc, int width, int height);
};

}  // namespace s::gui::native::win
