#pragma once
// Orders two elements. The arguments point at the elements (for an array, into its
// storage; for objects, at the objects). Results are -1, 0 or 1.

namespace s::base {

class IComparator {
 public:
  virtual ~IComparator() = default;
  virtual int compare(const void* a, const void* b) const = 0;
  virtual int compareIgnoreCase(const void* a, const void* b) const { return compare(a, b); }
};

}  // namespace s::base
