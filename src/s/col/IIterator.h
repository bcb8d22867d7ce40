#pragma once
// A cursor over the elements of a collection. It starts before the first element
// (index -1); next() and previous() move it and return a pointer to the element they
// land on, or nullptr when they would leave the collection. Iterators are pooled:
// whoever obtains one releases it.
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col {

class IIterator : public base::IObject, public thread::IPoolable {
 public:
  virtual int64_t getIndex() const = 0;
  // Any index is accepted; the current element is the one at index when it exists.
  virtual void setIndex(int64_t index) = 0;
  // True when an element follows the current one (index < count - 1).
  virtual bool hasNext() const = 0;
  // True when an element precedes the current one (index > 0).
  virtual bool hasPrevious() const = 0;
  virtual void* next() = 0;
  virtual void* previous() = 0;
  // Moves n elements forward (n < 0: backward) and returns the element landed on,
  // or nullptr when the new index lies outside the collection.
  virtual void* skip(int64_t n) = 0;
  // The current element, or nullptr when the index lies outside the collection.
  virtual void* current() const = 0;
};

}  // namespace s::col
