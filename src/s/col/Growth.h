#pragma once
// The growth policy shared by arrays and texts: capacities (in elements) grow in
// steps that triple small blocks and add ever smaller shares to huge ones.
#include <cstddef>

namespace s::col {

// One growth step from capacity. Saturates at SIZE_MAX instead of wrapping.
inline size_t growthStep(size_t capacity) {
  if (capacity < 100) return 100;
  if (capacity < 10'000'000) return capacity * 3;
  if (capacity < 50'000'000) return capacity * 2;
  if (capacity < 100'000'000) return capacity + capacity / 2;
  // 1.2 x c, truncated, in integers: c + c / 5 (truncation is the same).
  size_t grown = capacity + capacity / 5;
  return grown < capacity ? static_cast<size_t>(-1) : grown;
}

// The capacity reached by growing from capacity in steps until it holds needed.
// Each step at least adds a fifth, so the loop ends after a few dozen steps at most.
inline size_t grownCapacity(size_t capacity, size_t needed) {
  while (capacity < needed) capacity = growthStep(capacity);
  return capacity;
}

}  // namespace s::col
