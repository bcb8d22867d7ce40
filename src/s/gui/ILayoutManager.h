#pragma once
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::gui {

class IContainer;

// A layout object that can replace a box's built-in layout: it sizes and positions
// the container's children with the container's alignments and gaps. Its run leaves
// the container's content sizes at 0.
class ILayoutManager : public base::IObject, public thread::IPoolable {
 public:
  virtual void layout(IContainer& container) = 0;
};

}  // namespace s::gui
