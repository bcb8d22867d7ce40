#pragma once
// The ICC colour profile a picture file embeds, kept with its decoded pictures so
// that a copy written as JPEG, PNG or WebP can carry it on.
//
// Pictures are handed over as 8-bit RGB (with alpha), so only a profile of the RGB
// colour space describes them: profiles of other spaces (gray, CMYK, Lab) and
// bytes that are no profile are not kept. A kept profile is immutable and shared
// by every copy of the value, so passing it from set to set costs nothing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace s::image {

class ColourProfile {
 public:
  // The fixed header of every ICC profile.
  static constexpr size_t kHeaderBytes = 128;
  // Larger profiles are dropped: the largest JPEG can carry is 255 segments of
  // 65,519 bytes (16.7 MB); real ones hold a few kilobytes, rarely a megabyte.
  static constexpr size_t kMaxBytes = size_t{16} << 20;

  ColourProfile() = default;

  // A copy of the bytes when they are a well-formed RGB profile (header of the
  // declared size, the "acsp" signature, data colour space "RGB "); else empty.
  static ColourProfile fromBytes(const uint8_t* data, size_t size);

  bool empty() const { return !bytes_; }
  const uint8_t* data() const { return bytes_ ? bytes_->data() : nullptr; }
  size_t size() const { return bytes_ ? bytes_->size() : 0; }
  // The same bytes.
  bool operator==(const ColourProfile& other) const;

 private:
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
};

}  // namespace s::image
