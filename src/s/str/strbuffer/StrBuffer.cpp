// StrBuffer: storage, growth, the object protocol, building, new texts, streams and
// iterators. Searching, numbers and encodings live in the sibling StrBuffer*.cpp
// files.
#include "s/str/strbuffer/StrBuffer.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "s/base/IComparator.h"
#include "s/base/Memory.h"
#include "s/col/Growth.h"
#include "s/str/strbuffer/CaseMap.h"
#include "s/str/strbuffer/Iterator.h"

namespace s::str::strbuffer {
namespace {

// Whether [units, units + count) lies in the block [block, block + capacity].
bool pointsInto(const char16_t* units, const char16_t* block, size_t capacity) {
  if (!units || !block) return false;
  std::less_equal<const char16_t*> lessEqual;
  return lessEqual(block, units) && lessEqual(units, block + capacity);
}

int sign(int value) { return (value > 0) - (value < 0); }

const StrBuffer* asText(const base::IComparable* other) { return dynamic_cast<const StrBuffer*>(other); }

}  // namespace

StrBuffer::StrBuffer(StrBuffer&& other) noexcept
    : units_(std::exchange(other.units_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      position_(std::exchange(other.position_, 0)) {}

StrBuffer& StrBuffer::operator=(StrBuffer&& other) noexcept {
  if (this != &other) {
    freeStorage();
    units_ = std::exchange(other.units_, nullptr);
    length_ = std::exchange(other.length_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    position_ = std::exchange(other.position_, 0);
  }
  return *this;
}

StrBuffer::~StrBuffer() { std::free(units_); }

thread::Owned<StrBuffer> StrBuffer::of(std::u16string_view text) {
  thread::Owned<StrBuffer> created(create());
  created->assign(text);
  return created;
}

thread::Owned<StrBuffer> StrBuffer::ofUtf8(std::string_view utf8) {
  thread::Owned<StrBuffer> created(create());
  created->assignUtf8(utf8);
  return created;
}

// --- Object protocol -----------------------------------------------------------

int StrBuffer::compareTo(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compare(this, other);
  const StrBuffer* text = asText(other);
  if (!text) return IComparable::compareTo(other, nullptr);
  return compareTo(text->view());
}

int StrBuffer::compareToIgnoreCase(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compareIgnoreCase(this, other);
  const StrBuffer* text = asText(other);
  if (!text) return IComparable::compareTo(other, nullptr);
  return compareToIgnoreCase(text->view());
}

bool StrBuffer::equals(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compare(this, other) == 0;
  const StrBuffer* text = asText(other);
  if (!text) return IComparable::equals(other, nullptr);
  return view() == text->view();
}

bool StrBuffer::equalsIgnoreCase(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compareIgnoreCase(this, other) == 0;
  const StrBuffer* text = asText(other);
  if (!text) return IComparable::equalsIgnoreCase(other, nullptr);
  return equalsIgnoreCase(text->view());
}

int StrBuffer::compareViews(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  if (ignoreCase) {
    const char16_t* lower = CaseMap::lowerTable();
    for (size_t i = 0; i < common; ++i) {
      const char16_t left = lower[a[i]];
      const char16_t right = lower[b[i]];
      if (left != right) return left < right ? -1 : 1;
    }
  } else if (common) {
    // Memory order, not code-unit order: on little-endian machines the low byte of
    // each unit decides first. Texts have always been ordered this way.
    const int bytes = std::memcmp(a.data(), b.data(), common * sizeof(char16_t));
    if (bytes) return sign(bytes);
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int StrBuffer::compareTo(std::u16string_view text) const { return compareViews(view(), text, false); }

int StrBuffer::compareToIgnoreCase(std::u16string_view text) const { return compareViews(view(), text, true); }

bool StrBuffer::equalsIgnoreCase(std::u16string_view text) const {
  return length_ == text.size() && compareToIgnoreCase(text) == 0;
}

uint32_t StrBuffer::hashCode() const {
  uint32_t hash = 0;
  for (size_t i = 0; i < length_; ++i) hash = ((hash << 1) | (hash >> 31)) ^ units_[i];
  return hash;
}

uint32_t StrBuffer::hashCodeIgnoreCase() const {
  uint32_t hash = 0;
  for (size_t i = 0; i < length_; ++i) hash = ((hash << 1) | (hash >> 31)) ^ CaseMap::toLowerAscii(units_[i]);
  return hash;
}

// --- Storage -------------------------------------------------------------------

void StrBuffer::reallocate(size_t capacity) {
  // One unit more than the capacity, for the terminating zero.
  size_t units;
  size_t bytes;
  if (!base::checkedAdd(capacity, 1, &units) || !base::checkedMul(units, sizeof(char16_t), &bytes)) {
    base::dieOutOfMemory(SIZE_MAX);
  }
  units_ = static_cast<char16_t*>(base::reallocOrDie(units_, bytes));
  capacity_ = capacity;
}

void StrBuffer::setLength(size_t length) {
  if (length > capacity_) {
    const size_t oldCapacity = capacity_;
    reallocate(length);
    std::memset(units_ + oldCapacity, 0, (length - oldCapacity) * sizeof(char16_t));
  }
  length_ = length;
}

void StrBuffer::reserve(size_t n) {
  if (n > capacity_) reallocate(n);
}

void StrBuffer::growOneStep() { reallocate(col::growthStep(capacity_)); }

void StrBuffer::ensureCapacity(size_t n) {
  if (n > capacity_) reallocate(col::grownCapacity(capacity_, n));
}

void StrBuffer::growFor(size_t extra) {
  size_t needed;
  if (!base::checkedAdd(length_, extra, &needed)) base::dieOutOfMemory(SIZE_MAX);
  ensureCapacity(needed);
}

void StrBuffer::clear() {
  length_ = 0;
  position_ = 0;
}

void StrBuffer::freeStorage() {
  std::free(units_);
  units_ = nullptr;
  length_ = capacity_ = position_ = 0;
}

const char16_t* StrBuffer::data() const {
  if (!units_) return u"";
  units_[length_] = 0;  // the block always has room for it
  return units_;
}

// --- Units and case ------------------------------------------------------------

char16_t StrBuffer::unitAtLower(size_t index) const { return CaseMap::toLowerAscii(units_[index]); }
char16_t StrBuffer::unitAtUpper(size_t index) const { return CaseMap::toUpperAscii(units_[index]); }

void StrBuffer::reverse() {
  for (size_t i = 0, j = length_; i + 1 < j; ++i, --j) std::swap(units_[i], units_[j - 1]);
}

void StrBuffer::toLowerCase() { CaseMap::toLower(units_, length_); }
void StrBuffer::toUpperCase() { CaseMap::toUpper(units_, length_); }

void StrBuffer::capitalize() {
  toLowerCase();
  if (length_ && units_[0] >= u'a' && units_[0] <= u'z') units_[0] -= 32;
}

// --- Building ------------------------------------------------------------------

void StrBuffer::append(const char16_t* units, size_t count) {
  if (!count) return;
  if (length_ + count > capacity_ || length_ + count < length_) {
    // The source may be part of this text; find it again after the block moves.
    if (pointsInto(units, units_, capacity_)) {
      const size_t offset = static_cast<size_t>(units - units_);
      growFor(count);
      units = units_ + offset;
    } else {
      growFor(count);
    }
  }
  std::memmove(units_ + length_, units, count * sizeof(char16_t));
  length_ += count;
}

void StrBuffer::append(char16_t unit) {
  if (length_ == capacity_) growOneStep();
  units_[length_++] = unit;
}

void StrBuffer::prepend(const char16_t* units, size_t count) {
  if (!count) return;
  if (pointsInto(units, units_, capacity_)) {
    const std::u16string copy(units, count);
    prepend(copy.data(), copy.size());
    return;
  }
  growFor(count);
  std::memmove(units_ + count, units_, length_ * sizeof(char16_t));
  std::memcpy(units_, units, count * sizeof(char16_t));
  length_ += count;
}

void StrBuffer::appendLatin1(const char* bytes, size_t count) {
  if (!count) return;
  growFor(count);
  for (size_t i = 0; i < count; ++i) units_[length_ + i] = static_cast<unsigned char>(bytes[i]);
  length_ += count;
}

void StrBuffer::appendLatin1(const char* zeroTerminated) {
  if (zeroTerminated) appendLatin1(zeroTerminated, std::strlen(zeroTerminated));
}

void StrBuffer::appendAscii(const char* text, size_t count) { appendLatin1(text, count); }

void StrBuffer::assign(std::u16string_view text) {
  if (pointsInto(text.data(), units_, capacity_)) {
    // A part of this very text: move it to the front.
    std::memmove(units_, text.data(), text.size() * sizeof(char16_t));
    length_ = text.size();
    return;
  }
  length_ = 0;
  append(text.data(), text.size());
}

void StrBuffer::keepRange(size_t from, size_t to) {
  if (to > length_) to = length_;
  if (from > to) from = to;
  if (from) std::memmove(units_, units_ + from, (to - from) * sizeof(char16_t));
  length_ = to - from;
}

// --- New texts -------------------------------------------------------------------

thread::Owned<StrBuffer> StrBuffer::clone() const { return of(view()); }

thread::Owned<StrBuffer> StrBuffer::substring(size_t from, size_t to) const {
  if (to > length_) to = length_;
  if (from >= to) return of(u"");
  return of(view().substr(from, to - from));
}

// --- Streams ---------------------------------------------------------------------

bool StrBuffer::read(void* buffer, size_t count, size_t* readCount) {
  const size_t totalBytes = length_ * sizeof(char16_t);
  size_t copied = 0;
  if (position_ < totalBytes) {
    copied = count < totalBytes - position_ ? count : totalBytes - position_;
    std::memcpy(buffer, reinterpret_cast<const uint8_t*>(units_) + position_, copied);
    position_ += copied;
  }
  if (readCount) *readCount = copied;
  return copied > 0;
}

bool StrBuffer::write(const void* buffer, size_t count, size_t* writtenCount) {
  if (writtenCount) *writtenCount = 0;
  if (!count) return true;
  size_t endByte;
  if (!base::checkedAdd(position_, count, &endByte) || endByte == SIZE_MAX) base::dieOutOfMemory(SIZE_MAX);
  const size_t endUnits = endByte / 2 + (endByte & 1);
  ensureCapacity(endUnits);
  auto* bytes = reinterpret_cast<uint8_t*>(units_);
  const size_t oldBytes = length_ * sizeof(char16_t);
  if (endUnits > length_) {
    // Nothing stale may show through: zero the gap before the position and the
    // second half of a last unit written only partly.
    std::memset(bytes + oldBytes, 0, endUnits * sizeof(char16_t) - oldBytes);
    length_ = endUnits;
  }
  std::memcpy(bytes + position_, buffer, count);
  position_ = endByte;
  if (writtenCount) *writtenCount = count;
  return true;
}

bool StrBuffer::seek(int64_t position) {
  if (position < 0) return false;
  position_ = static_cast<size_t>(position);
  return true;
}

// --- Iterators -------------------------------------------------------------------

thread::Owned<Iterator> StrBuffer::iterator() const { return iteratorAt(kAll); }

thread::Owned<Iterator> StrBuffer::iteratorFromEnd() const {
  thread::Owned<Iterator> created(Iterator::create());
  created->attach(this, static_cast<int64_t>(length_));
  return created;
}

thread::Owned<Iterator> StrBuffer::iteratorAt(size_t index) const {
  thread::Owned<Iterator> created(Iterator::create());
  // kAll (all bits set) reads as -1: before the first unit.
  created->attach(this, static_cast<int64_t>(index));
  return created;
}

thread::Owned<Iterator> StrBuffer::iteratorBackwardFrom(size_t index) const {
  thread::Owned<Iterator> created(Iterator::create());
  created->attach(this, static_cast<int64_t>(index) + 1);
  return created;
}

}  // namespace s::str::strbuffer
