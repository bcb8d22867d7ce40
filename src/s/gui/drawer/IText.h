#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// The text of labels and text fields.
class IText : public base::IObject, public thread::IPoolable {
 public:
  // The colour of text in state (disabled, selected or normal).
  virtual Colour getTextColour(const PaintState& state) const = 0;
  // The frame drawn around text fields.
  virtual Colour getFrameColour() const = 0;
  // One line of text in area; colour overrides the state's colour unless kNoColour.
  virtual void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                     unsigned align, Colour colour) const = 0;
};

}  // namespace s::gui::drawer
