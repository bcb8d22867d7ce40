#pragma once
// The native side of a component: one platform window per component. Portable code
// talks to it only through this interface; the Win32 windows live in native/win,
// and MemoryWindow keeps the same state in memory (the native windows of the Linux
// build, and of tests on both systems).
//
// A native window is created by its parent's native window (createChild), so a whole
// tree shares one kind. It belongs to its component until it is destroyed: destroy()
// (or the platform, when an ancestor goes) takes its descendants with it, tells each
// component (Component::nativeWindowDestroyed) and frees the object.
#include <string_view>

#include "s/gui/Geometry.h"

namespace s::gui {
class Component;
class IComponent;
}  // namespace s::gui

namespace s::gui::native {

class NativeWindow {
 public:
  enum Parts : unsigned { kMove = 1, kResize = 2 };

  explicit NativeWindow(Component& owner) : owner_(owner) {}
  virtual ~NativeWindow() = default;
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  Component& getOwner() const { return owner_; }

  // Moves (kMove) and/or resizes (kResize) the window, in one platform call, keeping
  // its z-order; x and y are in the parent window's client area. With show, the call
  // also shows the window.
  virtual void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) = 0;
  virtual void setShown(bool shown) = 0;
  virtual void setEnabled(bool enabled) = 0;
  // Repaints the window and its descendants now.
  virtual void redraw() = 0;
  // The native window of child, created under this one (hidden, empty); nullptr when
  // the platform refuses it.
  virtual NativeWindow* createChild(Component& child) = 0;
  // Runs child.setParent(owner) on this window's thread: the way a container attaches
  // a child once its own native window exists.
  virtual void adoptChild(IComponent& child) = 0;
  // The extent of text on one line in the window's font. The height is the font's line
  // height, also for an empty text.
  virtual Size measureText(std::u16string_view text) const = 0;
  // The component's state (text, items, selection, colours) changed.
  virtual void refresh() = 0;
  // Destroys this window with its descendants (see above).
  virtual void destroy() = 0;
  // The platform handle (a Win32 HWND), or nullptr for a window kept in memory.
  virtual void* getHandle() const = 0;

 protected:
  // Tells the component that its native window is gone.
  void notifyDestroyed();

  Component& owner_;
};

}  // namespace s::gui::native
