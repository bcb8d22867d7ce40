#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Tab boxes: the frame of the page and its tabs.
class ITabBox : public base::IObject, public thread::IPoolable {
 public:
  virtual void paintFrame(ICanvas& canvas, const Rect& area) const = 0;
  virtual void paintTab(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
