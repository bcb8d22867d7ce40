#include "s/str/strbuffer/Iterator.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {

void Iterator::attach(const StrBuffer* text, int64_t index) {
  text_ = text;
  setIndex(index);
}

void Iterator::setIndex(int64_t index) {
  index_ = index;
  const bool onText = text_ && index >= 0 && static_cast<uint64_t>(index) < text_->length();
  current_ = onText ? text_->unitPointer(static_cast<size_t>(index)) : nullptr;
}

bool Iterator::hasNext() const {
  return text_ && index_ + 1 < static_cast<int64_t>(text_->length());
}

const char16_t* Iterator::moveBy(int64_t steps) {
  int64_t moved;
  if (__builtin_add_overflow(index_, steps, &moved)) moved = steps < 0 ? INT64_MIN : INT64_MAX;
  setIndex(moved);
  return current_;
}

}  // namespace s::str::strbuffer
