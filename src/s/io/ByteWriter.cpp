#include "s/io/ByteWriter.h"

namespace s::io {

void ByteWriter::store16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void ByteWriter::store32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void ByteWriter::u16(uint16_t value) {
  const size_t at = bytes_.size();
  bytes_.resize(at + 2);
  store16(bytes_.data() + at, value);
}

void ByteWriter::u32(uint32_t value) {
  const size_t at = bytes_.size();
  bytes_.resize(at + 4);
  store32(bytes_.data() + at, value);
}

void ByteWriter::bytes(const void* data, size_t count) {
  if (count == 0) return;  // data may be null then
  const auto* first = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), first, first + count);
}

bool ByteWriter::patch16(size_t at, uint16_t value) {
  // Compared as at > size - 2, never at + 2 > size, which could wrap.
  if (bytes_.size() < 2 || at > bytes_.size() - 2) return false;
  store16(bytes_.data() + at, value);
  return true;
}

bool ByteWriter::patch32(size_t at, uint32_t value) {
  if (bytes_.size() < 4 || at > bytes_.size() - 4) return false;
  store32(bytes_.data() + at, value);
  return true;
}

}  // namespace s::io
