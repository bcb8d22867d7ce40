#pragma once
// The stable merge sort behind every sorted list.
//
// It works on a copy of the range as the source and the range itself as the
// destination; the two exchange roles at each level of the recursion, so both hold
// the same elements on entry to every sub-range. Ranges of 6 or fewer elements are
// sorted by insertion (an element moves left only past neighbours that compare
// greater, so equal elements keep their order). A range whose halves already lie in
// order is copied over unchanged; otherwise the halves are merged, taking from the
// left half while its element does not compare greater than the right one.
//
// compare(a, b) receives the two elements (by const reference) and returns a
// negative number, 0 or a positive number. The descending variant reverses the
// comparisons and is just as stable: equal elements keep their order in both.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "s/base/IComparator.h"
#include "s/base/Memory.h"

namespace s::comp {

namespace merge_sort_detail {

inline constexpr size_t kInsertionLimit = 7;  // ranges shorter than this use insertion

// goesAfter(a, b): true when a must be placed after b.
template <class T, class GoesAfter>
void sortRange(T* source, T* destination, size_t low, size_t high, const GoesAfter& goesAfter) {
  const size_t length = high - low;
  if (length < kInsertionLimit) {
    for (size_t i = low + 1; i < high; ++i) {
      for (size_t j = i; j > low && goesAfter(destination[j - 1], destination[j]); --j) {
        const T held = destination[j];
        destination[j] = destination[j - 1];
        destination[j - 1] = held;
      }
    }
    return;
  }
  const size_t mid = low + length / 2;
  sortRange(destination, source, low, mid, goesAfter);
  sortRange(destination, source, mid, high, goesAfter);
  if (!goesAfter(source[mid - 1], source[mid])) {
    std::memcpy(destination + low, source + low, length * sizeof(T));
    return;
  }
  size_t left = low;
  size_t right = mid;
  for (size_t i = low; i < high; ++i) {
    if (right >= high || (left < mid && !goesAfter(source[left], source[right]))) {
      destination[i] = source[left++];
    } else {
      destination[i] = source[right++];
    }
  }
}

template <class T, class GoesAfter>
void sortWith(T* elements, size_t count, const GoesAfter& goesAfter) {
  static_assert(std::is_trivially_copyable_v<T>, "the sort copies elements as bytes");
  if (count < 2) return;
  size_t bytes;
  if (!base::checkedMul(count, sizeof(T), &bytes)) base::dieOutOfMemory(SIZE_MAX);
  T* copy = static_cast<T*>(base::allocOrDie(bytes));
  std::memcpy(copy, elements, bytes);
  sortRange(copy, elements, 0, count, goesAfter);
  std::free(copy);
}

}  // namespace merge_sort_detail

template <class T, class Compare>
void mergeSort(T* elements, size_t count, const Compare& compare) {
  merge_sort_detail::sortWith(elements, count, [&compare](const T& a, const T& b) { return compare(a, b) > 0; });
}

template <class T, class Compare>
void mergeSortDescending(T* elements, size_t count, const Compare& compare) {
  merge_sort_detail::sortWith(elements, count, [&compare](const T& a, const T& b) { return compare(a, b) < 0; });
}

// Sorts with a comparator that receives pointers to the elements.
template <class T>
void mergeSortWith(T* elements, size_t count, const base::IComparator& comparator, bool descending = false) {
  auto compare = [&comparator](const T& a, const T& b) { return comparator.compare(&a, &b); };
  if (descending) {
    mergeSortDescending(elements, count, compare);
  } else {
    mergeSort(elements, count, compare);
  }
}

}  // namespace s::comp
