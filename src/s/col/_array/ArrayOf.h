#pragma once
// Typed access to the elements of an array of T, on top of the shared implementation.
#include <cstring>
#include <type_traits>

#include "s/col/_array/ArrayBase.h"
#include "s/comp/MergeSort.h"

namespace s::col::_array {

template <class T>
class ArrayOf : public ArrayBase {
  static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8, "element widths are powers of two");

 public:
  using Element = T;

  ArrayOf() : ArrayBase(sizeof(T) == 1 ? 0 : sizeof(T) == 2 ? 1 : sizeof(T) == 4 ? 2 : 3) {}

  using ArrayBase::append;
  using ArrayBase::insert;
  using ArrayBase::popFirst;
  using ArrayBase::popLast;
  using ArrayBase::prepend;

  T* data() { return static_cast<T*>(rawData()); }
  const T* data() const { return static_cast<const T*>(rawData()); }
  // Unchecked: index < getCount().
  T get(size_t index) const { return data()[index]; }
  void set(size_t index, T value) { data()[index] = value; }

  // Single elements: one growth step when the array is full.
  void append(T value) { *static_cast<T*>(appendSlot()) = value; }
  void prepend(T value) { ArrayBase::insert(0, &value, 1, 0); }
  void insert(size_t index, T value) { ArrayBase::insert(index, &value, 1, 0); }
  // The removed element, or T{} when the array is empty.
  T popLast() {
    T value{};
    ArrayBase::popLast(&value, 1, 0);
    return value;
  }
  T popFirst() {
    T value{};
    ArrayBase::popFirst(&value, 1, 0);
    return value;
  }
  // The first index holding value, or kAll.
  size_t indexOf(T value) const {
    for (size_t i = 0; i < getCount(); ++i) {
      if (data()[i] == value) return i;
    }
    return kAll;
  }

  void appendElementText(StrBuffer* text, const void* element) const override {
    T value;
    std::memcpy(&value, element, sizeof(T));
    if constexpr (std::is_pointer_v<T>) {
      appendUnsigned(text, reinterpret_cast<uintptr_t>(value));
    } else if constexpr (std::is_signed_v<T>) {
      appendSigned(text, value);
    } else {
      appendUnsigned(text, value);
    }
  }

  // Stable sort with the class's comparator, or with comparator (which receives
  // pointers to the elements).
  void sort(bool descending = false) {
    if (const base::IComparator* comparator = getComparator()) sort(*comparator, descending);
  }
  void sort(const base::IComparator& comparator, bool descending = false) {
    comp::mergeSortWith(data(), getCount(), comparator, descending);
  }
};

}  // namespace s::col::_array
