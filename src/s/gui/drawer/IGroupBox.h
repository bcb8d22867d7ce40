#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Group boxes: a frame with a title.
class IGroupBox : public base::IObject, public thread::IPoolable {
 public:
  // The frame runs through the middle of the title line (titleHeight high); frame
  // overrides the drawer's frame colour unless kNoColour.
  virtual void paint(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight, Colour frame,
                     const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
