#pragma once
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Counters: a number in a field.
class ICounter : public base::IObject, public thread::IPoolable {
 public:
  virtual void paint(ICanvas& canvas, const Rect& area, std::u16string_view digits) const = 0;
};

}  // namespace s::gui::drawer
