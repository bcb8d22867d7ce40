#pragma once
#include "s/gui/IContainer.h"

namespace s::gui {

// A top-level window: the root of a component tree. Its components are painted with
// its skin.
class IWindow : public virtual IContainer {
 public:
  // The skin (not owned; the caller keeps it alive while the window uses it), or
  // nullptr for the toolkit's default skin. Repaints the whole tree.
  virtual void setSkin(const drawer::ISkin* skin) = 0;
};

}  // namespace s::gui
