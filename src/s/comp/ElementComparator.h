#pragma once
// Comparators of array elements: compare(a, b) receives pointers to two elements
// of type T and returns -1, 0 or 1. There is one process-wide instance per class;
// compareIgnoreCase is the same as compare.
#include <cstring>

#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::comp {

template <class Derived, class T>
class ElementComparator : public base::IObject, public base::IComparator {
 public:
  static Derived& instance() {
    static Derived comparator;
    return comparator;
  }

  // The ordering itself, on values.
  static int order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

  int compare(const void* a, const void* b) const override {
    // memcpy: the elements may sit in a byte buffer at any alignment.
    T left;
    T right;
    std::memcpy(&left, a, sizeof(T));
    std::memcpy(&right, b, sizeof(T));
    return order(left, right);
  }

  const char16_t* getRegistrationName() const override { return Derived::kRegistrationName; }
  // Comparators are shared, not pooled: the one instance.
  base::IObject* newInstance() const override { return &instance(); }
};

}  // namespace s::comp
