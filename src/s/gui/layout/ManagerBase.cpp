#include "s/gui/layout/ManagerBase.h"

#include "s/gui/IBox.h"
#include "s/gui/layout/Arrange.h"

namespace s::gui::layout {

void ManagerBase::layout(IContainer& container) {
  Spacing spacing;
  if (const auto* box = dynamic_cast<const IBox*>(&container)) {
    spacing = {box->getHorizontalAlignment(), box->getVerticalAlignment(), box->getHorizontalGap(),
               box->getVerticalGap()};
  }
  arrange(kind(), container, spacing);
}

}  // namespace s::gui::layout
