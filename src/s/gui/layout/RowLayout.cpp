// The row: children side by side, growing from their minimum towards their preferred
// width while there is room, stretched to the row's height up to their preferred one.
#include <algorithm>
#include <vector>

#include "s/gui/IComponent.h"
#include "s/gui/layout/Arrange.h"
#include "s/gui/layout/LineMath.h"

namespace s::gui::layout {

using namespace _line;

ContentSizes arrangeRow(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing) {
  const size_t n = children.getCount();
  const int gap = spacing.horizontalGap;
  auto child = [&](size_t i) { return children.getAs<IComponent>(i); };

  std::vector<int> minWidth(n), preferredWidth(n), fullWidth(n);
  for (size_t i = 0; i < n; ++i) {
    minWidth[i] = child(i)->getMinWidth();
    preferredWidth[i] = child(i)->getPreferredWidth();
    fullWidth[i] = std::max(preferredWidth[i], minWidth[i]);
  }
  const int64_t minSum = sumWithGaps(minWidth, gap);
  const int64_t preferredSum = sumWithGaps(fullWidth, gap);
  const int64_t rowWidth = std::max<int64_t>(width, minSum);
  int64_t free = rowWidth - minSum;

  if (free >= 1 && minSum < preferredSum && rowWidth < preferredSum) {
    // Not enough room for everyone's preferred width: each child gets the same share
    // f of its wish. minSum < preferredSum, so the divisor is at least 1.
    const float share = static_cast<float>(free) / static_cast<float>(preferredSum - minSum);
    for (size_t i = 0; i < n; ++i) {
      IComponent* c = child(i);
      if (minWidth[i] >= preferredWidth[i]) {
        c->offerSize(minWidth[i], 0);
      } else {
        c->offerSize(minWidth[i] + static_cast<int>(static_cast<float>(preferredWidth[i] - minWidth[i]) * share), 0);
      }
      free -= c->getWidth() - minWidth[i];
    }
    // The truncated remainder goes, in order, to children still below their wish.
    for (size_t i = 0; i < n && free > 0; ++i) {
      IComponent* c = child(i);
      const int before = c->getWidth();
      if (before >= preferredWidth[i]) continue;
      c->offerSize(static_cast<int>(std::min<int64_t>(before + free, preferredWidth[i])), 0);
      free -= c->getWidth() - before;
    }
  } else if (free >= 1 && minSum < preferredSum) {
    for (size_t i = 0; i < n; ++i) child(i)->offerSize(fullWidth[i], 0);
    free = rowWidth - preferredSum;
  } else {
    for (size_t i = 0; i < n; ++i) child(i)->offerSize(minWidth[i], 0);
  }

  int rowHeight = height;
  for (size_t i = 0; i < n; ++i) rowHeight = std::max(rowHeight, child(i)->getMinHeight());
  for (size_t i = 0; i < n; ++i) {
    IComponent* c = child(i);
    c->offerSize(c->getWidth(), std::max(rowHeight, c->getMinHeight()));
  }

  int64_t x = alignedStart(free, spacing.horizontalAlignment);
  for (size_t i = 0; i < n; ++i) {
    IComponent* c = child(i);
    if (i > 0 && child(i - 1)->getWidth() >= 1) x += gap;
    c->setPosition(saturate(x), alignedOffset(rowHeight, c->getHeight(), spacing.verticalAlignment));
    x += c->getWidth();
  }

  ContentSizes sizes{saturate(minSum), 0, saturate(preferredSum), 0};
  for (size_t i = 0; i < n; ++i) {
    const IComponent* c = child(i);
    sizes.minHeight = std::max(sizes.minHeight, c->getMinHeight());
    sizes.preferredHeight = std::max(sizes.preferredHeight, std::max(c->getPreferredHeight(), c->getMinHeight()));
  }
  return sizes;
}

}  // namespace s::gui::layout
