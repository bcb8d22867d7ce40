// The pile: shown children on top of each other, each sized to the pile within its
// own limits and aligned inside it. Hidden children are neither sized nor moved.
#include <algorithm>

#include "s/gui/IComponent.h"
#include "s/gui/layout/Arrange.h"
#include "s/gui/layout/LineMath.h"

namespace s::gui::layout {

using namespace _line;

ContentSizes arrangePile(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing) {
  const size_t n = children.getCount();
  auto shown = [&](size_t i) -> IComponent* {
    IComponent* c = children.getAs<IComponent>(i);
    return c->isShown() ? c : nullptr;
  };

  int pileWidth = width;
  for (size_t i = 0; i < n; ++i) {
    if (IComponent* c = shown(i)) pileWidth = std::max(pileWidth, c->getMinWidth());
  }
  for (size_t i = 0; i < n; ++i) {
    if (IComponent* c = shown(i)) c->offerSize(pileWidth, 0);
  }
  int pileHeight = height;
  for (size_t i = 0; i < n; ++i) {
    if (IComponent* c = shown(i)) pileHeight = std::max(pileHeight, c->getMinHeight());
  }
  for (size_t i = 0; i < n; ++i) {
    IComponent* c = shown(i);
    if (c && c->getHeight() < c->getPreferredHeight()) {
      c->offerSize(c->getWidth(), std::max(pileHeight, c->getPreferredHeight()));
    }
  }

  ContentSizes sizes;
  for (size_t i = 0; i < n; ++i) {
    IComponent* c = shown(i);
    if (!c) continue;
    c->setPosition(alignedOffset(pileWidth, c->getWidth(), spacing.horizontalAlignment),
                   alignedOffset(pileHeight, c->getHeight(), spacing.verticalAlignment));
    sizes.minWidth = std::max(sizes.minWidth, c->getMinWidth());
    sizes.minHeight = std::max(sizes.minHeight, c->getMinHeight());
    sizes.preferredWidth = std::max(sizes.preferredWidth, std::max(c->getPreferredWidth(), c->getMinWidth()));
    sizes.preferredHeight = std::max(sizes.preferredHeight, std::max(c->getPreferredHeight(), c->getMinHeight()));
  }
  return sizes;
}

}  // namespace s::gui::layout
