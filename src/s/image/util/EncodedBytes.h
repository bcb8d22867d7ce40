#pragma once
// The whole encoded file in memory, for the formats whose libraries decode from a
// buffer (HEIF, AVIF, WebP, TIFF).
//
// The stream is read from its current position to its end. A file stream says its
// size first, so the buffer is taken once; other streams are read in blocks into a
// buffer that doubles. A file longer than the caller's limit is refused before it
// is read whole. The buffer is not cleared before it is filled: only bytes read
// are ever looked at.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "s/io/IInputStream.h"

namespace s::image::util {

enum class [[nodiscard]] EncodedBytesStatus : uint8_t {
  kRead,
  kTooLarge,  // the limit: more bytes than the caller accepts
  kRefused,   // the memory could not be had
  kEmpty,     // nothing to read
};

class EncodedBytes {
 public:
  // The largest file read whole: the largest pictures the codecs accept take a few
  // hundred megabytes even uncompressed.
  static constexpr size_t kMaxBytes = size_t{1} << 30;

  // Replaces the bytes with the rest of the stream (at most maxBytes of it).
  EncodedBytesStatus read(io::IInputStream& in, size_t maxBytes);

  const uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }

 private:
  // Room for capacity bytes, the ones held kept; false when refused.
  bool reserve(size_t capacity);

  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace s::image::util
