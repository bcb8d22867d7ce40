#pragma once
// The iterator of every array: the array, the current index (starting before the
// first element, at -1) and the current element. It does not own the array, which
// must outlive it; the array may change size in between, since every move looks the
// count up afresh.
#include "s/col/IIterator.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayBase;

class IteratorBase : public IIterator {
 public:
  // Binds the iterator to array at index.
  void attach(ArrayBase* array, int64_t index);
  ArrayBase* array() const { return array_; }

  int64_t getIndex() const override { return index_; }
  void setIndex(int64_t index) override;
  bool hasNext() const override;
  bool hasPrevious() const override { return array_ && index_ > 0; }
  void* next() override { return skip(1); }
  void* previous() override { return skip(-1); }
  void* skip(int64_t n) override;
  void* current() const override { return current_; }

  void reset() override;

 private:
  ArrayBase* array_ = nullptr;
  int64_t index_ = -1;
  void* current_ = nullptr;
};

class Iterator : public thread::PooledObject<Iterator, IteratorBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_Iterator";
};

}  // namespace s::col::_array
