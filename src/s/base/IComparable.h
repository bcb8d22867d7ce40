#pragma once
// The object protocol shared by every class of the library.
//
// Operation numbers matter to the rest of the library only as an order: the
// comparisons and hashes come first, then the registration name and the
// new-instance operation of IObject, then what each derived interface adds.
//
// Objects are never deleted by their users: they are taken from their class's pool
// (newInstance, or the class's static create) and given back with release()
// (see s/thread/Pool.h). The virtual destructor is the protocol's "destroy".
#include <cstdint>

namespace s::base {

class IComparator;

class IComparable {
 public:
  virtual ~IComparable() = default;

  // Negative, 0 or positive. With a comparator: comparator->compare(this, other).
  // Without: 0 for the same object, else ordered by address.
  virtual int compareTo(const IComparable* other, const IComparator* comparator = nullptr) const;
  // With a comparator: its compareIgnoreCase; without: compareTo(other, nullptr).
  virtual int compareToIgnoreCase(const IComparable* other, const IComparator* comparator = nullptr) const;
  virtual bool equals(const IComparable* other, const IComparator* comparator = nullptr) const;
  virtual bool equalsIgnoreCase(const IComparable* other, const IComparator* comparator = nullptr) const;
  // A value identifying the object's class.
  virtual uint32_t hashCode() const;
  virtual uint32_t hashCodeIgnoreCase() const;
};

}  // namespace s::base
