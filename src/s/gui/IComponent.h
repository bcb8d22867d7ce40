#pragma once
// The toolkit's component protocol: every visible element of a window is a component
// in a tree, backed by one native window, and sized by negotiation.
//
// Conventions of the toolkit (s::gui):
// - Sizes and positions are pixels in int. A position (x, y) is relative to the
//   parent's content area; the native window sits at (x + origin x, y + origin y)
//   inside the parent's native window, where the origin is the parent's left and top
//   margin. −1 means "unset" for fixed sizes, percentages and the minimum-width
//   override; stored sizes, margins and gaps are never negative.
// - Size negotiation: a container asks its children for their minimum and preferred
//   sizes, then gives each one a size through offerSize, which never goes below the
//   minimum nor above the preferred size (the minimum wins), and positions it.
// - Deferred geometry: during a layout run the children record their moves and
//   resizes and apply them once at the end, so each native window moves at most once.
// - Native windows exist only while a component hangs below a root that has one (see
//   s/gui/native/NativeWindow.h); without one, geometry is stored and applied when the
//   native window is created, and platform calls do nothing.
// - Components are pooled objects: a container owns its children and releases them
//   when they are removed or when it is released.
// - Components are used on the thread of their window only.
#include "s/gui/events/IEventListener.h"

namespace s::col::_array {
class ArrayP;
}
namespace s::gui::drawer {
class ISkin;
}
namespace s::gui::native {
class NativeWindow;
}

namespace s::gui {

class IWindow;

class IComponent : public events::IEventListener {
 public:
  // Events a component raises to its own listener lists.
  static constexpr int kEventLayout = 3;    // a layout run of the component finished
  static constexpr int kEventGeometry = 4;  // the component was moved or resized

  virtual int getWidth() const = 0;
  virtual void setWidth(int width) = 0;
  virtual int getHeight() const = 0;
  virtual void setHeight(int height) = 0;
  virtual int getContentWidth() const = 0;
  virtual void setContentWidth(int width) = 0;
  virtual int getContentHeight() const = 0;
  virtual void setContentHeight(int height) = 0;
  virtual void setPosition(int x, int y) = 0;
  virtual void setSize(int width, int height) = 0;
  virtual void setBounds(int x, int y, int width, int height) = 0;
  virtual void setOrigin(int originX, int originY) = 0;
  virtual void moveOrigin(int dx, int dy) = 0;
  virtual int getMinWidth() const = 0;
  virtual int getMinHeight() const = 0;
  virtual int getPreferredWidth() const = 0;
  virtual int getPreferredHeight() const = 0;
  // Visible and backed by a native window.
  virtual bool isShown() const = 0;
  virtual void setVisible(bool visible, bool recursive) = 0;
  virtual bool isEnabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual void centerInParent() = 0;
  virtual void centerHorizontally() = 0;
  virtual void centerVertically() = 0;
  virtual IWindow* getWindow() const = 0;
  virtual IComponent* getParent() const = 0;
  // Attaches to parent (taking its window, and a native window when the parent has
  // one) or, with nullptr, detaches and destroys the native window.
  virtual void setParent(IComponent* parent) = 0;
  // Appends a child; the component owns it from now on.
  virtual void add(IComponent* child) = 0;
  // Detaches child and releases it (with recursive, after removing the child's own
  // children first); then lays out.
  virtual void remove(IComponent* child, bool recursive) = 0;
  virtual void removeAll(bool recursive) = 0;
  virtual bool isContainer() const = 0;
  // Asks the platform to repaint the component now.
  virtual void redraw() = 0;
  virtual void offerSize(int width, int height) = 0;
  virtual void relayout() = 0;
  virtual int getChildCount() const = 0;
  virtual IComponent* getChild(int index) const = 0;
  virtual const col::_array::ArrayP& getChildren() const = 0;
  virtual bool isDeferring() const = 0;
  virtual void beginDefer() = 0;
  virtual void endDefer() = 0;

  // What the layouts, the painting and the native side read besides the protocol.
  virtual int getX() const = 0;
  virtual int getY() const = 0;
  // The visible flag alone (isShown also asks for a native window).
  virtual bool isVisible() const = 0;
  virtual native::NativeWindow* getNativeWindow() const = 0;
  // The colour (0x00BBGGRR) painted behind the component: its own background, or
  // when it is transparent, what its parent shows.
  virtual unsigned getEffectiveBackground() const = 0;
  // The skin that paints the component: its window's, or the toolkit's default.
  virtual const drawer::ISkin& getSkin() const = 0;
  // Called when the skin of the window changed: re-reads colours and repaints.
  virtual void skinChanged() = 0;
};

}  // namespace s::gui
