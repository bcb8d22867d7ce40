#pragma once
#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Status bars.
class IStatusBar : public base::IObject, public thread::IPoolable {
 public:
  virtual void paint(ICanvas& canvas, const Rect& area, const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
