#pragma once
// Reads 16- and 32-bit numbers of an Exif block's TIFF structure in its byte order.
// A read that does not fit sets the failure flag and gives 0; offsets are compared
// as `at > size - n` so that no sum can wrap.
#include <cstddef>
#include <cstdint>

namespace s::image::jpg {

// What every Exif block starts with, before its TIFF header.
inline constexpr uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
// The TIFF header's number after the byte order, and the size of a directory entry.
inline constexpr uint16_t kTiffMagic = 42;
inline constexpr size_t kTiffEntryBytes = 12;

class TiffReader {
 public:
  TiffReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  void setBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }
  uint16_t u16(size_t at) {
    if (!fits(at, 2)) return 0;
    const uint8_t* p = data_ + at;
    return static_cast<uint16_t>(bigEndian_ ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
  }
  uint32_t u32(size_t at) {
    const uint32_t first = u16(at);
    const uint32_t second = u16(at + 2);
    return bigEndian_ ? (first << 16) | second : first | (second << 16);
  }
  // The count bytes at `at`, or none (and the failure flag) when they do not fit.
  const uint8_t* bytes(size_t at, size_t count) { return fits(at, count) ? data_ + at : nullptr; }
  bool ok() const { return ok_; }
  size_t size() const { return size_; }

 private:
  bool fits(size_t at, size_t count) {
    if (size_ < count || at > size_ - count) ok_ = false;
    return ok_;
  }

  const uint8_t* data_;
  size_t size_;
  bool bigEndian_ = false;
  bool ok_ = true;
};

}  // namespace s::image::jpg
