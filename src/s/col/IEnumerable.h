#pragma once

namespace s::col {

class IIterator;

// Something whose elements can be walked with an iterator.
class IEnumerable {
 public:
  virtual ~IEnumerable() = default;
  // A new iterator placed before the first element; the caller releases it.
  virtual IIterator* iterator() = 0;
};

}  // namespace s::col
