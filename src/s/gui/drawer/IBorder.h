#pragma once
#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Borders painted along a component's edge.
class IBorder : public base::IObject, public thread::IPoolable {
 public:
  virtual void paint(ICanvas& canvas, const Rect& area) const = 0;
};

}  // namespace s::gui::drawer
