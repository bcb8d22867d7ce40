#pragma once
// The window of a leaf component: a platform control (subclassed), in the toolkit
// font. It owner-draws through its component when the control asks its parent to
// (WM_DRAWITEM), and tracks the pointer for the hot state.
#include "s/gui/drawer/PaintState.h"
#include "s/gui/native/win/HwndWindow.h"

namespace s::gui::native::win {

class ControlWindow : public HwndWindow {
 public:
  // Creates the control of the platform class className with style (besides WS_CHILD)
  // under parent; false when the platform refuses.
  bool createControl(void* parentHwnd, const wchar_t* className, unsigned long style, unsigned long exStyle = 0);
  bool handleReflected(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 protected:
  explicit ControlWindow(Component& owner) : HwndWindow(owner) {}
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
  // Owner drawing: paints the component in the item's rectangle (a DRAWITEMSTRUCT).
  virtual void drawItem(const void* item);
  // A notification code of WM_COMMAND from the control.
  virtual void command(unsigned code) { (void)code; }
  // The pointer entered (true) or left the control.
  virtual void hotChanged(bool hot) { (void)hot; }
  // The state of an owner-drawn item (a DRAWITEMSTRUCT), with the hot state.
  drawer::PaintState stateOf(const void* item) const;

  bool hot_ = false;
};

}  // namespace s::gui::native::win
