// The column: the row on exchanged axes, except that every child first gets the
// column's width, and heights are distributed from the heights that gives them.
#include <algorithm>
#include <vector>

#include "s/gui/IComponent.h"
#include "s/gui/layout/Arrange.h"
#include "s/gui/layout/LineMath.h"

namespace s::gui::layout {

using namespace _line;

ContentSizes arrangeColumn(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing) {
  const size_t n = children.getCount();
  const int gap = spacing.verticalGap;
  auto child = [&](size_t i) { return children.getAs<IComponent>(i); };

  int columnWidth = width;
  for (size_t i = 0; i < n; ++i) columnWidth = std::max(columnWidth, child(i)->getMinWidth());
  // Width between minimum and preferred, and the minimum height.
  for (size_t i = 0; i < n; ++i) child(i)->offerSize(columnWidth, 0);

  std::vector<int> currentHeight(n), preferredHeight(n), fullHeight(n);
  for (size_t i = 0; i < n; ++i) {
    currentHeight[i] = child(i)->getHeight();
    preferredHeight[i] = child(i)->getPreferredHeight();
    fullHeight[i] = std::max(preferredHeight[i], currentHeight[i]);
  }
  const int64_t minSum = sumWithGaps(currentHeight, gap);
  const int64_t preferredSum = sumWithGaps(fullHeight, gap);
  const int64_t columnHeight = std::max<int64_t>(height, minSum);
  int64_t free = columnHeight - minSum;

  if (free >= 1 && minSum < preferredSum) {
    if (columnHeight < preferredSum) {
      // minSum < preferredSum: the divisor is at least 1.
      const float share = static_cast<float>(free) / static_cast<float>(preferredSum - minSum);
      for (size_t i = 0; i < n; ++i) {
        IComponent* c = child(i);
        const int before = c->getHeight();
        if (before >= preferredHeight[i]) continue;
        c->offerSize(columnWidth, before + static_cast<int>(static_cast<float>(preferredHeight[i] - before) * share));
        free -= c->getHeight() - before;
      }
      for (size_t i = 0; i < n && free > 0; ++i) {
        IComponent* c = child(i);
        const int before = c->getHeight();
        if (before >= preferredHeight[i]) continue;
        c->offerSize(columnWidth, static_cast<int>(std::min<int64_t>(before + free, preferredHeight[i])));
        free -= c->getHeight() - before;
      }
    } else {
      for (size_t i = 0; i < n; ++i) child(i)->offerSize(columnWidth, fullHeight[i]);
      free = columnHeight - preferredSum;
    }
  }

  int64_t y = alignedStart(free, spacing.verticalAlignment);
  for (size_t i = 0; i < n; ++i) {
    IComponent* c = child(i);
    if (i > 0 && child(i - 1)->getHeight() >= 1) y += gap;
    c->setPosition(alignedOffset(columnWidth, c->getWidth(), spacing.horizontalAlignment), saturate(y));
    y += c->getHeight();
  }

  ContentSizes sizes{0, saturate(minSum), 0, saturate(preferredSum)};
  for (size_t i = 0; i < n; ++i) {
    const IComponent* c = child(i);
    sizes.minWidth = std::max(sizes.minWidth, c->getMinWidth());
    sizes.preferredWidth = std::max(sizes.preferredWidth, std::max(c->getPreferredWidth(), c->getMinWidth()));
  }
  return sizes;
}

}  // namespace s::gui::layout
