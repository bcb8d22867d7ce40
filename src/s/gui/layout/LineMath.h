#pragma once
// Arithmetic shared by the row and the column, which are the same algorithm on
// exchanged axes.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace s::gui::layout::_line {

// Σ values, plus gap before every value whose predecessor is ≥ 1; when the sum is
// ≥ 1 and the last value is < 1, one gap is taken off again.
inline int64_t sumWithGaps(const std::vector<int>& values, int gap) {
  int64_t sum = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0 && values[i - 1] >= 1) sum += gap;
    sum += values[i];
  }
  if (sum >= 1 && !values.empty() && values.back() < 1) sum -= gap;
  return sum;
}

inline int saturate(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Where a run of content starts inside free pixels: 0, half or all of them for the
// first, second and third alignment (left/top, centre/middle, right/bottom). Nothing
// moves when there is no free room.
inline int64_t alignedStart(int64_t free, int alignment) {
  if (free < 1) return 0;
  if (alignment == 1) return free / 2;
  if (alignment == 2) return free;
  return 0;
}

// The offset of a child of extent size inside a line of extent line.
inline int alignedOffset(int line, int size, int alignment) {
  if (size >= line) return 0;
  if (alignment == 1) return (line - size) / 2;
  if (alignment == 2) return line - size;
  return 0;
}

}  // namespace s::gui::layout::_line
