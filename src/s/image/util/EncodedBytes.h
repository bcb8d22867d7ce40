#pragma once
// The whole encoded file in memory, for the formats whose libraries decode from a
// buffer (HEIF, AVIF, WebP, TIFF).
//
// The stream is read from its current position to its end. A file stream says its
// size first, so the buffer is taken once; other streams are read in blocks. A file
// longer than the caller's limit is refused before it is read whole.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/io/IInputStream.h"

namespace s::image::util {

enum class [[nodiscard]] EncodedBytesStatus : uint8_t {
  kRead,
  kTooLarge,  // the limit: more bytes than the caller accepts
  kEmpty,     // nothing to read
};

class EncodedBytes {
 public:
  // The largest file read whole: the largest pictures the codecs accept take a few
  // hundred megabytes even uncompressed.
  static constexpr size_t kMaxBytes = size_t{1} << 30;

  // Replaces bytes with the rest of the stream (at most maxBytes of it).
  static EncodedBytesStatus read(io::IInputStream& in, size_t maxBytes, std::vector<uint8_t>& bytes);
};

}  // namespace s::image::util
