#pragma once
// In-memory byte streams for codec tests, plus file and byte-building helpers.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "s/io/IInputStream.h"
#include "s/io/MemoryInput.h"
#include "s/io/IOutputStream.h"

namespace testing_streams {

// The library's memory input over bytes of its own.
class MemoryInputStream final : public s::io::IInputStream {
 public:
  explicit MemoryInputStream(std::vector<uint8_t> data) : data_(std::move(data)), in_(data_.data(), data_.size()) {}
  bool read(void* buffer, size_t count, size_t* readCount) override { return in_.read(buffer, count, readCount); }
  int64_t getPosition() const override { return in_.getPosition(); }
  void rewind() override { in_.rewind(); }
  bool seek(int64_t position) override { return in_.seek(position); }
  int64_t size() const { return in_.size(); }

 private:
  std::vector<uint8_t> data_;
  s::io::MemoryInput in_;
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
