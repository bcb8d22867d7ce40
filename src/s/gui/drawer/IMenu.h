#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Menu bars and their menus.
class IMenu : public base::IObject, public thread::IPoolable {
 public:
  virtual Colour getBackgroundColour() const = 0;
  virtual void paintBar(ICanvas& canvas, const Rect& area) const = 0;
  // One item; inBar for the items of the bar itself.
  virtual void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                         bool inBar) const = 0;
  virtual void paintSeparator(ICanvas& canvas, const Rect& area) const = 0;
};

}  // namespace s::gui::drawer
