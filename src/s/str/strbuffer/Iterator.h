#pragma once
// A position in a text, moved one unit at a time. It starts where StrBuffer's
// iterator operations put it: before the first unit (index -1), after the last
// (index = length), or at an index. hasNext/hasPrevious say whether next/previous
// land on a unit; when they would not, next/previous return nullptr (and the index
// still moves). The iterator reads the text's current units on every move, so it
// stays valid while the text grows, but not after the text is released.
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::str::strbuffer {

class StrBuffer;

class IteratorBases : public base::IObject, public thread::IPoolable {};

class Iterator final : public thread::PooledObject<Iterator, IteratorBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_str_strbuffer_Iterator";

  // Points the iterator at text, with the given current index.
  void attach(const StrBuffer* text, int64_t index);
  void reset() override { attach(nullptr, -1); }

  int64_t index() const { return index_; }
  void setIndex(int64_t index);
  // index < length - 1
  bool hasNext() const;
  // index > 0
  bool hasPrevious() const { return index_ > 0; }
  // Moves by one and returns the new current unit, or nullptr off the text.
  const char16_t* next() { return moveBy(1); }
  const char16_t* previous() { return moveBy(-1); }
  // Moves by steps (negative: backwards) and returns the new current unit.
  const char16_t* skip(int64_t steps) { return moveBy(steps); }
  // The current unit, or nullptr when the index is off the text.
  const char16_t* current() const { return current_; }

 private:
  const char16_t* moveBy(int64_t steps);

  const StrBuffer* text_ = nullptr;
  int64_t index_ = -1;
  const char16_t* current_ = nullptr;
};

}  // namespace s::str::strbuffer
