#pragma once
// An array of object pointers (pointer-sized elements), optionally owning them.
//
// With a disposer (an IDestructor, typically the elements' pool or
// s::cleaner::CleanerIObject) the array owns its elements: every element that leaves
// the array without being handed out (clear, freeStorage, dropLast/dropFirst,
// removeRange, shrinking setCount, destruction) is disposed of. popLast, popFirst and
// takeRange hand their elements to the caller instead. set() and writeRaw overwrite
// without disposing: the caller deals with what it replaces. Without a disposer the
// elements are merely referenced.
//
// Reset (on return to the pool) frees the storage, disposing of owned elements, and
// forgets the disposer. The class is open for owning lists of one element type
// (such as a list of texts) that add their own typed operations.
#include "s/base/IDestructor.h"
#include "s/col/_array/ArrayOf.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayP : public thread::PooledObject<ArrayP, ArrayOf<void*>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_ArrayP";

  ~ArrayP() override;

  void setDisposer(base::IDestructor* disposer) { disposer_ = disposer; }
  base::IDestructor* getDisposer() const { return disposer_; }

  // The element at index as a U (unchecked index).
  template <class U>
  U* getAs(size_t index) const {
    return static_cast<U*>(get(index));
  }

  const base::IComparator* getComparator() const override;
  // The element's registration name, "(", its address in decimal, ")"; a null
  // element has no name and appears as "null(0)".
  void appendElementText(StrBuffer* text, const void* element) const override;
  void reset() override;

 protected:
  void discard(size_t index, size_t n) override;

 private:
  base::IDestructor* disposer_ = nullptr;
};

}  // namespace s::col::_array
