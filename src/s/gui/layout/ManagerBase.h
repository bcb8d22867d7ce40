#pragma once
#include "s/gui/ILayoutManager.h"

namespace s::gui::layout {

// What the three layout managers share: they run one built-in layout on a container
// with the container's alignments and gaps (a container that is no box has none),
// and leave its content sizes alone.
class ManagerBase : public ILayoutManager {
 public:
  void layout(IContainer& container) override;
  void reset() override {}

 protected:
  // IBox::kRow, kColumn, kFlow or kPile.
  virtual int kind() const = 0;
};

}  // namespace s::gui::layout
