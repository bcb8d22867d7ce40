#pragma once
// Reads little-endian fields from a block of memory without ever passing its end.
// A read that does not fit yields zeros and sets a sticky failure flag, so a parser
// reads a group of fields and checks ok() once afterwards.
#include <cstddef>
#include <cstdint>

namespace s::io {

class ByteCursor {
 public:
  ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  int32_t s32() { return static_cast<int32_t>(u32()); }
  // Copies count bytes into out (zeros when they are not all there).
  void bytes(void* out, size_t count);
  void skip(size_t count);

  bool ok() const { return ok_; }
  size_t position() const { return position_; }
  size_t remaining() const { return size_ - position_; }

 private:
  // True when count more bytes are available; otherwise marks the cursor failed.
  bool take(size_t count);

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace s::io
