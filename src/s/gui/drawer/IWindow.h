#pragma once
#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// The frame and background of a window, and the window's shape.
class IWindow : public base::IObject, public thread::IPoolable {
 public:
  // Paints a window of area's size (area at 0, 0).
  virtual void paint(ICanvas& canvas, const Rect& area) const = 0;
  virtual Colour getBackgroundColour() const = 0;
  virtual Colour getFrameColour() const = 0;
  virtual bool isTransparent() const = 0;
};

}  // namespace s::gui::drawer
