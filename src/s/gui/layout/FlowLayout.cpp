// The flow: children left to right in rows that wrap at the content width; rows grow
// towards their children's preferred heights while there is room below.
#include <algorithm>
#include <vector>

#include "s/gui/IComponent.h"
#include "s/gui/layout/Arrange.h"
#include "s/gui/layout/LineMath.h"

namespace s::gui::layout {

using namespace _line;

namespace {

struct FlowRow {
  size_t first = 0;
  size_t end = 0;              // one past the last child
  int height = 0;              // the largest current child height
  int preferredHeight = 0;     // the largest max(current, preferred) child height
  int64_t remaining = 0;       // the row width left over
};

// Cuts the children into rows of width rowWidth as they are now sized. gapBefore[i]
// receives the gap placed before child i: only a child that counts for gaps (shown
// and wider than 0) after another such child of its row gets one. The first child of
// a row always stays, however wide it is.
std::vector<FlowRow> formRows(const col::_array::ArrayP& children, int rowWidth, int gap, std::vector<int>& gapBefore) {
  std::vector<FlowRow> rows;
  const size_t n = children.getCount();
  gapBefore.assign(n, 0);
  FlowRow row;
  row.remaining = rowWidth;
  bool rowHasCounted = false;
  for (size_t i = 0; i < n; ++i) {
    const IComponent* c = children.getAs<IComponent>(i);
    const int width = c->getWidth();
    const bool counts = c->isShown() && width > 0;
    int before = counts && rowHasCounted ? gap : 0;
    if (i > row.first && row.remaining - before - width < 0) {
      row.end = i;
      rows.push_back(row);
      row = FlowRow{i, i, 0, 0, rowWidth};
      rowHasCounted = false;
      before = 0;
    }
    gapBefore[i] = before;
    row.remaining -= before + width;
    rowHasCounted = rowHasCounted || counts;
    row.height = std::max(row.height, c->getHeight());
    row.preferredHeight = std::max(row.preferredHeight, std::max(c->getHeight(), c->getPreferredHeight()));
  }
  if (n > 0) {
    row.end = n;
    rows.push_back(row);
  }
  return rows;
}

// Σ of one height per row, with gap between rows once the total has begun.
template <class HeightOf>
int64_t stackRows(const std::vector<FlowRow>& rows, int gap, HeightOf heightOf) {
  int64_t total = 0;
  for (const FlowRow& row : rows) {
    if (total > 0) total += gap;
    total += heightOf(row);
  }
  return total;
}

}  // namespace

ContentSizes arrangeFlow(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing) {
  const size_t n = children.getCount();
  const int gapH = spacing.horizontalGap;
  const int gapV = spacing.verticalGap;
  auto child = [&](size_t i) { return children.getAs<IComponent>(i); };

  int largestMin = 0;
  int64_t singleRow = 0;
  bool earlierTakesRoom = false;
  for (size_t i = 0; i < n; ++i) {
    const IComponent* c = child(i);
    const int minWidth = c->getMinWidth();
    largestMin = std::max(largestMin, minWidth);
    singleRow += std::max(c->getPreferredWidth(), minWidth);
    if (c->isShown() && minWidth > 0) {
      if (earlierTakesRoom) singleRow += gapH;
      earlierTakesRoom = true;
    }
  }
  const int rowWidth = std::max(width, largestMin);

  for (size_t i = 0; i < n; ++i) child(i)->offerSize(rowWidth, 0);
  std::vector<int> gapBefore;
  const std::vector<FlowRow> rows = formRows(children, rowWidth, gapH, gapBefore);
  const int64_t minSum = stackRows(rows, gapV, [](const FlowRow& r) { return r.height; });
  const int64_t preferredSum = stackRows(rows, gapV, [](const FlowRow& r) { return r.preferredHeight; });

  int64_t free = std::max<int64_t>(height, minSum) - minSum;
  if (free > 0 && minSum < preferredSum) {
    const float share = static_cast<float>(free) / static_cast<float>(preferredSum - minSum);
    for (size_t i = 0; i < n; ++i) {
      IComponent* c = child(i);
      const int before = c->getHeight();
      const int preferred = c->getPreferredHeight();
      if (before < preferred) c->offerSize(rowWidth, before + static_cast<int>(share * static_cast<float>(preferred - before)));
    }
    // Widths did not change, so the rows are the same; free shrinks by what they grew.
    const std::vector<FlowRow> grown = formRows(children, rowWidth, gapH, gapBefore);
    for (size_t r = 0; r < grown.size() && r < rows.size(); ++r) free -= grown[r].height - rows[r].height;
    free = std::max<int64_t>(0, free);
  }

  const std::vector<FlowRow> placed = formRows(children, rowWidth, gapH, gapBefore);
  int64_t y = free > 0 ? alignedStart(free, spacing.verticalAlignment) : 0;
  for (const FlowRow& row : placed) {
    int64_t x = alignedStart(row.remaining, spacing.horizontalAlignment);
    for (size_t i = row.first; i < row.end; ++i) {
      x += gapBefore[i];
      child(i)->setPosition(saturate(x), saturate(y));
      x += child(i)->getWidth();
    }
    y += gapV + row.height;
  }

  return ContentSizes{largestMin, saturate(minSum), saturate(singleRow), saturate(preferredSum)};
}

}  // namespace s::gui::layout
