#include "s/gui/layout/Arrange.h"

#include "s/gui/IBox.h"
#include "s/gui/IComponent.h"

namespace s::gui::layout {

ContentSizes arrange(int kind, IComponent& container, const Spacing& spacing) {
  const col::_array::ArrayP& children = container.getChildren();
  const int count = container.getChildCount();
  // A container that defers itself is inside its parent's run, which applies the
  // whole subtree's geometry at its end.
  const bool deferring = container.isDeferring();
  if (!deferring) {
    for (int i = 0; i < count; ++i) container.getChild(i)->beginDefer();
  }
  const int width = container.getContentWidth();
  const int height = container.getContentHeight();
  ContentSizes sizes;
  switch (kind) {
    case IBox::kRow: sizes = arrangeRow(children, width, height, spacing); break;
    case IBox::kColumn: sizes = arrangeColumn(children, width, height, spacing); break;
    case IBox::kFlow: sizes = arrangeFlow(children, width, height, spacing); break;
    case IBox::kPile: sizes = arrangePile(children, width, height, spacing); break;
    default: break;
  }
  if (!deferring) {
    for (int i = 0; i < count; ++i) {
      IComponent* child = container.getChild(i);
      child->endDefer();
      child->redraw();
    }
  }
  return sizes;
}

}  // namespace s::gui::layout
