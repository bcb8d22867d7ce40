#pragma once
// Appends little-endian fields to a growing block of memory: the writing side of
// ByteCursor. Encoders build a header (or a whole small file) here and hand the
// bytes to a stream in one write; a size known only later is patched in at the
// position where its place was written.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace s::io {

class ByteWriter {
 public:
  ByteWriter() = default;
  // Room for reserveBytes without growing.
  explicit ByteWriter(size_t reserveBytes) { bytes_.reserve(reserveBytes); }

  void u8(uint8_t value) { bytes_.push_back(value); }
  void u16(uint16_t value);
  void u32(uint32_t value);
  void s32(int32_t value) { u32(static_cast<uint32_t>(value)); }
  void bytes(const void* data, size_t count);
  void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }

  // The offset the next field lands at; keep it to patch that field later.
  size_t position() const { return bytes_.size(); }
  // Overwrite a field written earlier at offset at. False (and nothing written)
  // when the field would not lie inside the bytes written so far.
  [[nodiscard]] bool patch16(size_t at, uint16_t value);
  [[nodiscard]] bool patch32(size_t at, uint32_t value);

  const uint8_t* data() const { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }
  // Forgets the bytes, keeping the memory for the next ones.
  void clear() { bytes_.clear(); }

  // The same fields stored into memory the caller owns (a fixed record).
  static void store16(uint8_t* at, uint16_t value);
  static void store32(uint8_t* at, uint32_t value);

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace s::io
