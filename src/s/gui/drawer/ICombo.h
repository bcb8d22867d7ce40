#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Combo boxes: the chosen entry and the entries of the list.
class ICombo : public base::IObject, public thread::IPoolable {
 public:
  // The edge of the box.
  virtual Colour getFrameColour() const = 0;
  // An entry; state.selected marks the entry under the pointer in the open list,
  // state.focused the chosen entry in the closed box.
  virtual void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                         bool inField) const = 0;
};

}  // namespace s::gui::drawer
