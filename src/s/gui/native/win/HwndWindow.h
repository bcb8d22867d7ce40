#pragma once
// The Win32 native windows of the toolkit: one C++ object per HWND, bound to it as a
// window property. Windows of the toolkit's own class ("KorvelWindowClass") get
// their messages through the toolkit's window procedure; platform controls (buttons,
// edit fields, ...) are subclassed. Either way a message goes to handleMessage first
// and falls to the default processing when it returns false.
//
// A container window passes its children's notifications, owner-drawing and colour
// requests on to the child's object (handleReflected), so each control handles its own.
//
// Lifetime: the object lives as long as its HWND. At WM_NCDESTROY it tells its
// component (which forgets it) and deletes itself.
//
// Handles are void* and message parameters plain integers here, so that this header
// does not need <windows.h>.
#include <cstdint>

#include "s/gui/native/NativeWindow.h"

namespace s::gui::native::win {

// The toolkit's private messages.
// Attaches the component in lParam to this window's component, on this window's thread.
inline constexpr unsigned kCreateChildMessage = 0x8002;  // WM_APP + 2
// The window destroys itself.
inline constexpr unsigned kDestroySelfMessage = 1039;  // WM_USER + 15

class HwndWindow : public NativeWindow {
 public:
  ~HwndWindow() override;

  void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) override;
  void setShown(bool shown) override;
  void setEnabled(bool enabled) override;
  void redraw() override;
  NativeWindow* createChild(Component& child) override;
  void adoptChild(IComponent& child) override;
  Size measureText(std::u16string_view text) const override;
  void refresh() override;
  void destroy() override;
  void* getHandle() const override { return hwnd_; }

  // The object bound to a window of the toolkit, or nullptr.
  static HwndWindow* fromHandle(void* hwnd);

  // A message from the window procedure or the subclass procedure: handleMessage, then
  // the default processing; at WM_NCDESTROY the object is deleted.
  intptr_t dispatch(unsigned message, uintptr_t wParam, intptr_t lParam);
  // A child control's message to its parent (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*),
  // passed on to the child's object. True when handled, with result set.
  virtual bool handleReflected(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);

 protected:
  explicit HwndWindow(Component& owner) : NativeWindow(owner) {}
  // Binds this object to hwnd; with subclass, routes the platform control's messages
  // through dispatch.
  void bind(void* hwnd, bool subclass);
  // The window's own messages; false for the default processing.
  virtual bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  // The platform's processing of a message (for handlers that add to it).
  intptr_t defaultProcessing(unsigned message, uintptr_t wParam, intptr_t lParam);

  void* hwnd_ = nullptr;

 private:
  bool subclassed_ = false;
};

}  // namespace s::gui::native::win
