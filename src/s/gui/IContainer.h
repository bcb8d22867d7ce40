#pragma once
#include "s/gui/IComponent.h"

namespace s::gui {

class ILayoutManager;

// A component that places its children.
class IContainer : public virtual IComponent {
 public:
  // Runs a layout: negotiates the children's sizes inside the content area and
  // positions them.
  virtual void layout() = 0;
  // The attached layout manager, or a shared flow manager when none is attached.
  virtual ILayoutManager* getLayoutManager() const = 0;
};

}  // namespace s::gui
