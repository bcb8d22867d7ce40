#pragma once
// A counted collection of fixed-size elements. Counts are in elements.
#include <cstddef>

#include "s/col/IEnumerable.h"

namespace s::col {

class ICollection : public IEnumerable {
 public:
  virtual size_t getCount() const = 0;
  // Bytes per element.
  virtual size_t elementSize() const = 0;
};

}  // namespace s::col
