#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// List boxes: the background and one item per row.
class IListBox : public base::IObject, public thread::IPoolable {
 public:
  virtual void paintBackground(ICanvas& canvas, const Rect& area) const = 0;
  // Item index (rows alternate) in state (selected or not).
  virtual void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, int index,
                         const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
