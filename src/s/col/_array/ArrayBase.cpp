#include "s/col/_array/ArrayBase.h"

#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"
#include "s/col/Growth.h"
#include "s/col/_array/Iterator.h"
#include "s/digest/IDigest.h"

namespace s::col::_array {

namespace {

// Exchanges two elements of W bytes. memcpy keeps this free of type punning; with a
// constant size the compiler turns it into plain loads and stores.
template <size_t W>
inline void swapElements(uint8_t* a, uint8_t* b) {
  uint8_t held[W];
  std::memcpy(held, a, W);
  std::memcpy(a, b, W);
  std::memcpy(b, held, W);
}

template <size_t W>
void reverseElements(uint8_t* first, size_t count) {
  if (count < 2) return;
  uint8_t* low = first;
  uint8_t* high = first + (count - 1) * W;
  while (low < high) {
    swapElements<W>(low, high);
    low += W;
    high -= W;
  }
}

// A private copy of a source block that lies inside the array being changed: growing
// frees the old block, and moving the tail may shift the source.
class SourceCopy {
 public:
  SourceCopy() = default;
  SourceCopy(const SourceCopy&) = delete;
  SourceCopy& operator=(const SourceCopy&) = delete;
  ~SourceCopy() { std::free(block_); }
  const uint8_t* take(const uint8_t* source, size_t bytes) {
    block_ = base::allocOrDie(bytes);
    std::memcpy(block_, source, bytes);
    return static_cast<const uint8_t*>(block_);
  }

 private:
  void* block_ = nullptr;
};

}  // namespace

ArrayBase::ArrayBase(unsigned widthShift) : widthShift_(widthShift) {}

ArrayBase::~ArrayBase() { std::free(storage_); }

IIterator* ArrayBase::iterator() { return iteratorAt(-1); }

Iterator* ArrayBase::iteratorAt(int64_t index) {
  Iterator* it = Iterator::create();
  it->attach(this, index);
  return it;
}

size_t ArrayBase::toBytes(size_t elements) const {
  if (elements > (SIZE_MAX >> widthShift_)) base::dieOutOfMemory(SIZE_MAX);
  return elements << widthShift_;
}

size_t ArrayBase::clampRange(size_t start, size_t n) const {
  if (start >= count_) return 0;
  const size_t available = count_ - start;
  return n < available ? n : available;
}

bool ArrayBase::holds(const void* pointer) const {
  if (!storage_) return false;
  const auto address = reinterpret_cast<uintptr_t>(pointer);
  const auto first = reinterpret_cast<uintptr_t>(storage_);
  return address >= first && address - first < (capacity_ << widthShift_);
}

void ArrayBase::reallocate(size_t newCapacity) {
  // A new block, the live elements copied over, the old block freed.
  auto* block = static_cast<uint8_t*>(base::allocOrDie(toBytes(newCapacity)));
  if (count_) std::memcpy(block, storage_, count_ << widthShift_);
  std::free(storage_);
  storage_ = block;
  capacity_ = newCapacity;
}

void ArrayBase::growOneStep() { reallocate(growthStep(capacity_)); }

void ArrayBase::makeRoom(size_t needed) {
  if (needed <= capacity_) return;
  // grownCapacity saturates instead of wrapping; a saturated capacity fails in
  // toBytes or in the allocation, both fatal.
  reallocate(grownCapacity(capacity_, needed));
}

void ArrayBase::reserve(size_t n) {
  if (n > capacity_) reallocate(n);
}

void ArrayBase::setCount(size_t n) {
  if (n < count_) {
    discard(n, count_ - n);
    count_ = n;
    return;
  }
  reserve(n);
  // New elements are zero so that nothing uninitialised (for ArrayP: no stray
  // pointer an owning array would later dispose of) becomes part of the array.
  if (n > count_) std::memset(storage_ + (count_ << widthShift_), 0, (n - count_) << widthShift_);
  count_ = n;
}

size_t ArrayBase::byteSize(size_t n) const { return toBytes(n == kAll ? count_ : n); }

bool ArrayBase::copyTo(ArrayBase* target, size_t targetIndex, size_t start, size_t n) const {
  if (!target || target->widthShift_ != widthShift_) return false;
  n = clampRange(start, n);
  target->writeRaw(storage_ + (start << widthShift_), n, 0, targetIndex);
  return true;
}

bool ArrayBase::copyFrom(const ArrayBase* source, size_t sourceStart, size_t index, size_t n) {
  return source && source->copyTo(this, index, sourceStart, n);
}

size_t ArrayBase::readRaw(void* target, size_t targetIndex, size_t start, size_t n) const {
  n = clampRange(start, n);
  if (n) {
    std::memcpy(static_cast<uint8_t*>(target) + toBytes(targetIndex), storage_ + (start << widthShift_),
                n << widthShift_);
  }
  return n;
}

void ArrayBase::writeRaw(const void* source, size_t n, size_t sourceIndex, size_t index) {
  if (n == 0) return;
  size_t end;
  if (!base::checkedAdd(index, n, &end)) base::dieOutOfMemory(SIZE_MAX);
  const size_t bytes = toBytes(n);
  const uint8_t* from = static_cast<const uint8_t*>(source) + toBytes(sourceIndex);
  SourceCopy copy;
  if (end > capacity_) {
    if (holds(from)) from = copy.take(from, bytes);
    reallocate(end);
  }
  if (index > count_) std::memset(storage_ + (count_ << widthShift_), 0, (index - count_) << widthShift_);
  std::memmove(storage_ + (index << widthShift_), from, bytes);
  if (end > count_) count_ = end;
}

void ArrayBase::append(const void* source, size_t n, size_t sourceIndex) { insert(count_, source, n, sourceIndex); }

void ArrayBase::prepend(const void* source, size_t n, size_t sourceIndex) { insert(0, source, n, sourceIndex); }

void ArrayBase::insert(size_t index, const void* source, size_t n, size_t sourceIndex) {
  if (n == 0) return;
  if (index > count_) index = count_;
  size_t newCount;
  if (!base::checkedAdd(count_, n, &newCount)) base::dieOutOfMemory(SIZE_MAX);
  const size_t bytes = toBytes(n);
  const uint8_t* from = static_cast<const uint8_t*>(source) + toBytes(sourceIndex);
  SourceCopy copy;
  if (holds(from)) from = copy.take(from, bytes);
  if (newCount > capacity_) {
    // A single element grows by exactly one step; more make room by repeated steps.
    if (n == 1) {
      growOneStep();
    } else {
      makeRoom(newCount);
    }
  }
  uint8_t* at = storage_ + (index << widthShift_);
  if (index < count_) std::memmove(at + bytes, at, (count_ - index) << widthShift_);
  std::memcpy(at, from, bytes);
  count_ = newCount;
}

void ArrayBase::closeGap(size_t index, size_t n) {
  if (n == 0) return;
  const size_t tail = count_ - index - n;
  if (tail) {
    std::memmove(storage_ + (index << widthShift_), storage_ + ((index + n) << widthShift_), tail << widthShift_);
  }
  count_ -= n;
}

void ArrayBase::dropLast(size_t n) {
  if (n > count_) n = count_;
  removeRange(count_ - n, n);
}

void ArrayBase::dropFirst(size_t n) { removeRange(0, n); }

void ArrayBase::removeRange(size_t index, size_t n) {
  n = clampRange(index, n);
  if (n == 0) return;
  discard(index, n);
  closeGap(index, n);
}

size_t ArrayBase::popLast(void* target, size_t n, size_t targetIndex) {
  if (n > count_) n = count_;
  return takeRange(count_ - n, target, n, targetIndex);
}

size_t ArrayBase::popFirst(void* target, size_t n, size_t targetIndex) { return takeRange(0, target, n, targetIndex); }

size_t ArrayBase::takeRange(size_t index, void* target, size_t n, size_t targetIndex) {
  n = readRaw(target, targetIndex, index, n);
  closeGap(index, n);
  return n;
}

int ArrayBase::compareRaw(size_t start, const void* other, size_t otherCount, size_t otherStart, size_t n) const {
  const size_t mine = clampRange(start, n);
  size_t theirs = otherStart < otherCount ? otherCount - otherStart : 0;
  if (n < theirs) theirs = n;
  const size_t common = mine < theirs ? mine : theirs;
  if (common) {
    const int order = std::memcmp(storage_ + (start << widthShift_),
                                  static_cast<const uint8_t*>(other) + toBytes(otherStart), common << widthShift_);
    if (order) return order < 0 ? -1 : 1;
  }
  if (mine == theirs) return 0;
  return mine < theirs ? -1 : 1;
}

void ArrayBase::clear() {
  discard(0, count_);
  count_ = 0;
  position_ = 0;
}

void ArrayBase::freeStorage() {
  discard(0, count_);
  std::free(storage_);
  storage_ = nullptr;
  count_ = 0;
  capacity_ = 0;
  position_ = 0;
}

void ArrayBase::swap(size_t i, size_t j) {
  uint8_t* a = storage_ + (i << widthShift_);
  uint8_t* b = storage_ + (j << widthShift_);
  switch (widthShift_) {
    case 0: swapElements<1>(a, b); break;
    case 1: swapElements<2>(a, b); break;
    case 2: swapElements<4>(a, b); break;
    case 3: swapElements<8>(a, b); break;
    default: {
      // Wider elements byte by byte.
      for (size_t k = 0; k < (size_t{1} << widthShift_); ++k) swapElements<1>(a + k, b + k);
    }
  }
}

void ArrayBase::swapVia(size_t i, size_t j, void* temporary) {
  if (i == j) return;
  const size_t width = size_t{1} << widthShift_;
  std::memcpy(temporary, elementAt(i), width);
  std::memcpy(elementAt(i), elementAt(j), width);
  std::memcpy(elementAt(j), temporary, width);
}

void ArrayBase::reverse() {
  switch (widthShift_) {
    case 0: reverseElements<1>(storage_, count_); break;
    case 1: reverseElements<2>(storage_, count_); break;
    case 2: reverseElements<4>(storage_, count_); break;
    case 3: reverseElements<8>(storage_, count_); break;
    default:
      for (size_t i = 0; i < count_ / 2; ++i) swap(i, count_ - 1 - i);
  }
}

void ArrayBase::digest(digest::IDigest* digest) const {
  if (!digest) return;
  if (count_) digest->update(storage_, count_ << widthShift_);
  digest->finish();
}

// --- Byte stream ---

bool ArrayBase::read(void* buffer, size_t count, size_t* readCount) {
  const size_t total = count_ << widthShift_;
  size_t copied = 0;
  if (position_ < total) {
    copied = total - position_ < count ? total - position_ : count;
    std::memcpy(buffer, storage_ + position_, copied);
    position_ += copied;
  }
  if (readCount) *readCount = copied;
  return copied > 0 || count == 0;
}

bool ArrayBase::write(const void* buffer, size_t count, size_t* writtenCount) {
  if (writtenCount) *writtenCount = 0;
  if (count == 0) return true;
  size_t end;
  if (!base::checkedAdd(position_, count, &end)) base::dieOutOfMemory(SIZE_MAX);
  // Elements covering the written bytes (the last one may be partly written), and
  // room for one more beyond them.
  const size_t newCount = (end >> widthShift_) + ((end & ((size_t{1} << widthShift_) - 1)) != 0);
  size_t needed;
  if (!base::checkedAdd(newCount, 1, &needed)) base::dieOutOfMemory(SIZE_MAX);
  const auto* from = static_cast<const uint8_t*>(buffer);
  SourceCopy copy;
  if (needed > capacity_) {
    if (holds(from)) from = copy.take(from, count);
    makeRoom(needed);
  }
  const size_t oldBytes = count_ << widthShift_;
  // A position past the count leaves a gap: zero it rather than expose old bytes.
  if (position_ > oldBytes) std::memset(storage_ + oldBytes, 0, position_ - oldBytes);
  std::memmove(storage_ + position_, from, count);
  if (newCount > count_) {
    const size_t newBytes = newCount << widthShift_;
    // The unwritten rest of a partly written last element.
    if (end < newBytes) std::memset(storage_ + end, 0, newBytes - end);
    count_ = newCount;
  }
  position_ = end;
  if (writtenCount) *writtenCount = count;
  return true;
}

bool ArrayBase::seek(int64_t position) {
  if (position < 0) return false;
  position_ = static_cast<size_t>(position);
  return true;
}

bool ArrayBase::seekFromEnd(int64_t n) {
  const size_t total = count_ << widthShift_;
  if (n < 0 || static_cast<uint64_t>(n) > total) return false;
  position_ = total - static_cast<size_t>(n);
  return true;
}

bool ArrayBase::moveBy(int64_t delta) {
  if (delta < 0) {
    // 0 - delta in unsigned arithmetic also handles INT64_MIN.
    const uint64_t back = uint64_t{0} - static_cast<uint64_t>(delta);
    if (back > position_) return false;
    position_ -= static_cast<size_t>(back);
    return true;
  }
  size_t moved;
  if (!base::checkedAdd(position_, static_cast<size_t>(delta), &moved)) return false;
  position_ = moved;
  return true;
}

}  // namespace s::col::_array
