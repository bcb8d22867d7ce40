#pragma once
#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Sliders: a track and a thumb at position of range.
class ISlider : public base::IObject, public thread::IPoolable {
 public:
  virtual void paint(ICanvas& canvas, const Rect& area, int position, int range, const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
