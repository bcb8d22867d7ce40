#include "s/col/_array/Iterator.h"

#include "s/col/_array/ArrayBase.h"

namespace s::col::_array {

void IteratorBase::attach(ArrayBase* array, int64_t index) {
  array_ = array;
  setIndex(index);
}

void IteratorBase::setIndex(int64_t index) {
  index_ = index;
  const bool inside = array_ && index >= 0 && static_cast<uint64_t>(index) < array_->getCount();
  current_ = inside ? array_->elementAt(static_cast<size_t>(index)) : nullptr;
}

bool IteratorBase::hasNext() const {
  // index < count - 1, written so that neither an empty array nor the largest
  // index can wrap: index + 1 < count in unsigned arithmetic, from index -1 on.
  if (!array_ || index_ < -1) return false;
  return static_cast<uint64_t>(index_) + 1 < array_->getCount();
}

void* IteratorBase::skip(int64_t n) {
  int64_t moved;
  if (__builtin_add_overflow(index_, n, &moved)) moved = n < 0 ? INT64_MIN : INT64_MAX;
  setIndex(moved);
  return current_;
}

void IteratorBase::reset() {
  array_ = nullptr;
  index_ = -1;
  current_ = nullptr;
}

}  // namespace s::col::_array
