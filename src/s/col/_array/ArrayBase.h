#pragma once
// Growable arrays of fixed-size elements. One implementation serves every element
// type; the typed arrays (ArrayP, ArrayS32, ArrayU32, ArrayU08, ArrayS08) only fix the
// element width, the comparator and the text form of an element.
//
// Conventions of the whole family:
// - Indices and counts are in elements; stream positions are in bytes.
// - kAll as a count means "to the end" (or "the whole array").
// - "Raw" arguments are plain memory blocks of elements of this array's width; their
//   index arguments count elements too.
// - Element accessors (elementAt, swap, the typed get/set) do not check indices:
//   callers keep them below the count. Range operations clamp their ranges to the
//   elements that exist, so a stale count can never move memory outside the block.
// - Sizes are computed with checked arithmetic; a size that cannot be represented
//   ends the process through s::base::dieOutOfMemory, like an exhausted heap.
// - The array is also a byte stream (read/write at a moving position), which is
//   how byte buffers travel to codecs and files. Writing past the count zero-fills
//   the gap, so no uninitialised byte ever becomes part of the array.
// - Arrays are not thread-safe; their pools are.
#include <cstddef>
#include <cstdint>

#include "s/base/IComparator.h"
#include "s/base/IObject.h"
#include "s/col/ICollection.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/thread/IPoolable.h"

namespace s::digest {
class IDigest;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::col::_array {

class Iterator;

class ArrayBase : public base::IObject,
                  public ICollection,
                  public io::IInputStream,
                  public io::IOutputStream,
                  public thread::IPoolable {
 public:
  // The one registration name that does not follow the namespace rule.
  static constexpr char16_t kRegistrationName[] = u"s_col_array_ArrayBase";
  static constexpr size_t kAll = SIZE_MAX;

  ~ArrayBase() override;
  ArrayBase(const ArrayBase&) = delete;
  ArrayBase& operator=(const ArrayBase&) = delete;

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  // The registration name (also the element name of the XML dump).
  const char16_t* typeName() const { return getRegistrationName(); }

  // --- Collection ---
  size_t getCount() const override { return count_; }
  size_t elementSize() const override { return size_t{1} << widthShift_; }
  // The element width as a power of two: 0 for bytes, 2 for 32-bit elements.
  unsigned widthShift() const { return widthShift_; }
  size_t capacity() const { return capacity_; }
  // A new pooled iterator before the first element; the caller releases it.
  IIterator* iterator() override;
  // A new pooled iterator at index (-1: before the first; count: after the last).
  Iterator* iteratorAt(int64_t index);

  // Makes the capacity at least n (exactly n when it has to grow) and sets the
  // count to n. New elements are zero; dropped ones are discarded (see ArrayP).
  void setCount(size_t n);
  // Grows the capacity to exactly n elements when it is smaller.
  void reserve(size_t n);
  // n elements (kAll: the count) in bytes.
  size_t byteSize(size_t n = kAll) const;

  // Copies n elements (kAll: to the end) from start into target at targetIndex,
  // growing the target as writeRaw does. False (nothing copied) when the element
  // widths differ.
  bool copyTo(ArrayBase* target, size_t targetIndex, size_t start, size_t n = kAll) const;
  bool copyFrom(const ArrayBase* source, size_t sourceStart, size_t index, size_t n = kAll);

  // Copies n elements (kAll: to the end) from start into target + targetIndex;
  // returns the number copied.
  size_t readRaw(void* target, size_t targetIndex, size_t start, size_t n = kAll) const;
  // Copies n elements of source (from sourceIndex) in at index, growing the capacity
  // to exactly what is needed and raising the count when the range ends beyond it.
  // An index past the count zero-fills the elements in between.
  void writeRaw(const void* source, size_t n, size_t sourceIndex, size_t index);

  // Insertions grow by whole growth steps; the source may lie inside this array.
  void append(const void* source, size_t n, size_t sourceIndex);
  void prepend(const void* source, size_t n, size_t sourceIndex);
  // index >= count appends, 0 prepends.
  void insert(size_t index, const void* source, size_t n, size_t sourceIndex);

  // Removals discard what they drop (an owning ArrayP disposes of it).
  void dropLast(size_t n);
  void dropFirst(size_t n);
  void removeRange(size_t index, size_t n);
  // These hand the elements over instead: they copy them out into target +
  // targetIndex, then remove them. They return the number moved.
  size_t popLast(void* target, size_t n, size_t targetIndex);
  size_t popFirst(void* target, size_t n, size_t targetIndex);
  size_t takeRange(size_t index, void* target, size_t n, size_t targetIndex);

  // Compares the bytes of the elements from start with those of other from
  // otherStart (n elements of each at most; kAll: to their ends), unsigned and in
  // memory order; when the overlapping bytes agree, the shorter range is first.
  // Returns -1, 0 or 1.
  int compareRaw(size_t start, const void* other, size_t otherCount, size_t otherStart, size_t n = kAll) const;

  // Count and position 0, storage kept (elements discarded).
  void clear();
  // Discards every element, frees the storage; capacity, count and position 0.
  void freeStorage();
  void swap(size_t i, size_t j);
  // Exchanges elements i and j through temporary (room for one element).
  void swapVia(size_t i, size_t j, void* temporary);
  void reverse();

  // Feeds the element bytes into digest and finishes it.
  void digest(digest::IDigest* digest) const;
  // The comparator of the element type (none for the base).
  virtual const base::IComparator* getComparator() const { return nullptr; }

  // --- Text dumps ---
  // Each takes the text to write into, or nullptr for a new pooled text that the
  // caller releases; with append false the text is emptied first. Each returns the
  // text written to.
  using StrBuffer = str::strbuffer::StrBuffer;
  // Appends one element's text form: numbers in decimal; for ArrayP the element's
  // registration name, "(", its address in decimal and ")".
  virtual void appendElementText(StrBuffer* text, const void* element) const = 0;
  // All elements, separated by " ".
  StrBuffer* elementsText(StrBuffer* text, bool append) const;
  // The registration name, " [", the elements, "]".
  StrBuffer* toText(StrBuffer* text, bool append) const;
  // <name length="count">elements</name>, with the registration name as name.
  StrBuffer* toXml(StrBuffer* text, bool append) const;

  void* rawData() { return storage_; }
  const void* rawData() const { return storage_; }
  void* elementAt(size_t index) { return storage_ + (index << widthShift_); }
  const void* elementAt(size_t index) const { return storage_ + (index << widthShift_); }

  // --- Byte stream ---
  // Copies up to count bytes from the position and advances it; false when
  // nothing was left (also when the position lies past the count).
  bool read(void* buffer, size_t count, size_t* readCount) override;
  // Writes at the position, growing the capacity by steps to hold position + count
  // plus one more element, and raises the count to cover the written bytes.
  bool write(const void* buffer, size_t count, size_t* writtenCount) override;
  int64_t getPosition() const override { return static_cast<int64_t>(position_); }
  void rewind() override { position_ = 0; }
  // Any position from 0 on; past the count is allowed (a write fills the gap).
  bool seek(int64_t position) override;
  void seekToEnd() { position_ = count_ << widthShift_; }
  // To the end minus n bytes; false (position unchanged) when n is negative or
  // larger than the array.
  bool seekFromEnd(int64_t n);
  // Moves by delta bytes; false (position unchanged) when it would become negative.
  bool moveBy(int64_t delta);

  // Back to the freshly constructed state: freeStorage.
  void reset() override { freeStorage(); }

 protected:
  // Decimal forms for the typed arrays' appendElementText.
  static void appendSigned(StrBuffer* text, int64_t value);
  static void appendUnsigned(StrBuffer* text, uint64_t value);

  // Room for one more element at the end (one growth step when full); returns it
  // and counts it. The fast path of single-element appends.
  void* appendSlot() {
    if (count_ == capacity_) growOneStep();
    return storage_ + (count_++ << widthShift_);
  }

  explicit ArrayBase(unsigned widthShift);

  // The elements [index, index + n) are about to leave the array without being
  // handed to anyone. Arrays that own their elements dispose of them here.
  virtual void discard(size_t index, size_t n) {
    (void)index;
    (void)n;
  }

 private:
  size_t toBytes(size_t elements) const;
  // n, or what is left after start when n runs past the count.
  size_t clampRange(size_t start, size_t n) const;
  bool holds(const void* pointer) const;
  void reallocate(size_t newCapacity);
  void growOneStep();
  // Grows by whole growth steps until at least needed elements fit.
  void makeRoom(size_t needed);
  // Removes [index, index + n) without discarding (range already clamped).
  void closeGap(size_t index, size_t n);

  unsigned widthShift_;
  uint8_t* storage_ = nullptr;
  size_t count_ = 0;
  size_t capacity_ = 0;
  size_t position_ = 0;  // in bytes
};

}  // namespace s::col::_array
