#pragma once
// The native window of a Window: a top-level window owned by the window's
// InvisibleWindow, on the window's thread. It turns the platform's messages into the
// window's events and behaviours: closing with veto, the toolkit's own messages,
// mouse buttons (also those pressed on the boxes inside it, which pass them on),
// easy dragging, the skinned frame's edges and its resizing, sizing and placement,
// activation, keys, the wheel, timers, hot keys and the clipboard.
#include "s/gui/native/win/TopLevelWindow.h"

namespace s::gui::win {
class Window;
}

namespace s::gui::native::win {

class FrameWindow final : public TopLevelWindow {
 public:
  explicit FrameWindow(gui::win::Window& window);

  // Creates the window (hidden) at the platform's default position, 240 × 120, titled
  // "Window", owned by owner (an HWND); false when the platform refuses.
  bool create(void* owner, unsigned long exStyle, unsigned long style);
  // A mouse message of a box inside this window, at (x, y) of this window's client area.
  bool childMouse(unsigned message, uintptr_t wParam, int x, int y) override;
  // The window shows itself (Window::show), not when its native window is made.
  void setShown(bool) override {}

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 private:
  // Client-area mouse messages, from this window or from a box inside it.
  bool mouseMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
  intptr_t hitTest(uintptr_t wParam, intptr_t lParam);
  void sizing(int platformEdge, void* rect);
  void positionChanging(void* windowPos);
  bool wheel(uintptr_t wParam, intptr_t lParam);
  // A skinned frame's own resizing: started at an edge, following the mouse.
  void beginResize(int edge);
  void followResize();
  // The drag (a move or a resize) has ended.
  void dragEnded();
  // The outer size whose client area is the window's minimum.
  Size minimumOuterSize() const;

  gui::win::Window& window_;
  bool moving_ = false;     // in the platform's move or size loop
  bool resizing_ = false;   // in a skinned frame's own resize
  bool wheelForwarding_ = false;
  int resizeEdge_ = 0;
  Rect resizeStart_;
  int resizeFromX_ = 0;
  int resizeFromY_ = 0;
};

}  // namespace s::gui::native::win
