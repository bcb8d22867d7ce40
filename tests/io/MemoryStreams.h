#pragma once
// In-memory byte streams for codec tests, plus file and byte-building helpers.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"

namespace testing_streams {

class MemoryInputStream final : public s::io::IInputStream {
 public:
  explicit MemoryInputStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
  bool read(void* buffer, size_t count, size_t* readCount) override {
    size_t available = position_ < data_.size() ? data_.size() - position_ : 0;
    size_t n = count < available ? count : available;
    if (n) std::memcpy(buffer, data_.data() + position_, n);
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
  int64_t size() const { return static_cast<int64_t>(data_.size()); }

 private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

class MemoryOutputStream final : public s::io::IOutputStream {
 public:
  // failAfter: bytes accepted before every write fails (for error paths).
  explicit MemoryOutputStream(size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
  bool write(const void* buffer, size_t count, size_t* writtenCount) override {
    size_t room = failAfter_ > data.size() ? failAfter_ - data.size() : 0;
    size_t n = count < room ? count : room;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    data.insert(data.end(), bytes, bytes + n);
    if (writtenCount) *writtenCount = n;
    return n == count;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(data.size()); }
  void rewind() override { data.clear(); }
  bool seek(int64_t) override { return false; }
  std::vector<uint8_t> data;

 private:
  size_t failAfter_;
};

inline std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Appends little-endian fields.
struct ByteWriter {
  std::vector<uint8_t> bytes;
  ByteWriter& u8(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  ByteWriter& u16(uint32_t v) { return u8(v).u8(v >> 8); }
  ByteWriter& u32(uint32_t v) { return u16(v).u16(v >> 16); }
  ByteWriter& s32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  ByteWriter& text(const char* s) {
    while (*s) u8(static_cast<uint8_t>(*s++));
    return *this;
  }
  ByteWriter& raw(const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  ByteWriter& zeros(size_t count) {
    bytes.insert(bytes.end(), count, 0);
    return *this;
  }
};

}  // namespace testing_streams
