#pragma once
// The four built-in layouts: one row, one column, a flow of wrapping rows, and a pile
// of superimposed children. Each negotiates its children's sizes inside the
// container's content area (W × H) and positions them; boxes run them directly and
// the layout managers (FlowH, Vertical, Pile) through a box's alignments and gaps.
//
// Common frame: unless the container is itself deferring, every child defers its
// geometry during the run and applies it at the end (endDefer, then redraw), so each
// native window moves at most once per run. Sizes reach children only through
// offerSize, so a child stays between its minimum and preferred size (the minimum
// winning). The gaps a row or column counts are those before a child whose
// predecessor takes room (≥ 1 pixel); a trailing empty child gives its gap back.
//
// Sums are taken in 64 bits and the results saturate at INT32_MAX: fixed sizes near
// the int range must not wrap into negative widths.
#include "s/col/_array/ArrayP.h"

namespace s::gui {
class IComponent;
}

namespace s::gui::layout {

struct Spacing {
  int horizontalAlignment = 0;  // IBox::kLeft, kCenter, kRight
  int verticalAlignment = 0;    // IBox::kTop, kMiddle, kBottom
  int horizontalGap = 0;
  int verticalGap = 0;
};

// What a run reports to the container: its content's minimum and preferred size.
struct ContentSizes {
  int minWidth = 0;
  int minHeight = 0;
  int preferredWidth = 0;
  int preferredHeight = 0;
};

// Runs the layout of kind (IBox::kRow, kColumn, kFlow, kPile; others give zeros) on
// the children of container, in the common frame.
ContentSizes arrange(int kind, IComponent& container, const Spacing& spacing);

// The algorithms themselves, on a list of IComponent pointers inside width × height.
ContentSizes arrangeRow(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing);
ContentSizes arrangeColumn(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing);
ContentSizes arrangeFlow(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing);
ContentSizes arrangePile(const col::_array::ArrayP& children, int width, int height, const Spacing& spacing);

}  // namespace s::gui::layout
