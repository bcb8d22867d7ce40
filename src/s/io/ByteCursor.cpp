#include "s/io/ByteCursor.h"

#include <cstring>

namespace s::io {

bool ByteCursor::take(size_t count) {
  // position_ <= size_ always holds, so the subtraction cannot wrap.
  if (!ok_ || count > size_ - position_) {
    ok_ = false;
    position_ = size_;
    return false;
  }
  return true;
}

uint8_t ByteCursor::u8() {
  if (!take(1)) return 0;
  return data_[position_++];
}

uint16_t ByteCursor::u16() {
  if (!take(2)) return 0;
  const uint8_t* p = data_ + position_;
  position_ += 2;
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ByteCursor::u32() {
  if (!take(4)) return 0;
  const uint8_t* p = data_ + position_;
  position_ += 4;
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

void ByteCursor::bytes(void* out, size_t count) {
  if (!take(count)) {
    std::memset(out, 0, count);
    return;
  }
  std::memcpy(out, data_ + position_, count);
  position_ += count;
}

void ByteCursor::skip(size_t count) {
  if (take(count)) position_ += count;
}

}  // namespace s::io
