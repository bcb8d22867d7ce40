#include "s/base/IComparable.h"

#include <functional>
#include <typeinfo>

#include "s/base/IComparator.h"

namespace s::base {

int IComparable::compareTo(const IComparable* other, const IComparator* comparator) const {
  if (comparator) return comparator->compare(this, other);
  if (other == this) return 0;
  return std::less<const void*>()(this, other) ? -1 : 1;
}

int IComparable::compareToIgnoreCase(const IComparable* other, const IComparator* comparator) const {
  if (comparator) return comparator->compareIgnoreCase(this, other);
  return compareTo(other, nullptr);
}

bool IComparable::equals(const IComparable* other, const IComparator* comparator) const {
  return compareTo(other, comparator) == 0;
}

bool IComparable::equalsIgnoreCase(const IComparable* other, const IComparator* comparator) const {
  return compareToIgnoreCase(other, comparator) == 0;
}

uint32_t IComparable::hashCode() const {
  // The dynamic type stands in for the class's dispatch table.
  const size_t typeHash = typeid(*this).hash_code();
  return static_cast<uint32_t>(typeHash ^ (static_cast<uint64_t>(typeHash) >> 32));
}

uint32_t IComparable::hashCodeIgnoreCase() const { return hashCode(); }

}  // namespace s::base
