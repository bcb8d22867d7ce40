#pragma once
// An input stream over bytes in memory that the caller keeps alive: a read past the
// end gives what is left (nothing at the end), and the position may be set anywhere
// from 0 on.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "s/io/IInputStream.h"

namespace s::io {

class MemoryInput final : public IInputStream {
 public:
  MemoryInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool read(void* buffer, size_t count, size_t* readCount) override {
    const size_t available = position_ < size_ ? size_ - position_ : 0;
    const size_t n = count < available ? count : available;
    if (n) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    if (readCount) *readCount = n;
    return n > 0;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(position_); }
  void rewind() override { position_ = 0; }
  bool seek(int64_t position) override {
    if (position < 0) return false;
    position_ = static_cast<size_t>(position);
    return true;
  }
  int64_t size() const { return static_cast<int64_t>(size_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace s::io
