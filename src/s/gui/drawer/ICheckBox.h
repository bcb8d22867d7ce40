#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Check boxes: a box (checked or not) followed by the text.
class ICheckBox : public base::IObject, public thread::IPoolable {
 public:
  virtual void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const = 0;
};

}  // namespace s::gui::drawer
