#include "s/image/util/EncodedBytes.h"

#include <algorithm>

#include "s/file/IFileInputStream.h"
#include "s/io/Streams.h"

namespace s::image::util {

namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;

// The bytes left in a file stream, or -1 when it cannot tell. The position is kept.
int64_t remainingInFile(io::IInputStream& in) {
  auto* file = dynamic_cast<file::IFileInputStream*>(&in);
  if (!file || !file->isSeekable()) return -1;
  const int64_t start = in.getPosition();
  if (!file->seekToEnd()) return -1;
  const int64_t end = in.getPosition();
  if (!in.seek(start) || end < start) return -1;
  return end - start;
}

}  // namespace

EncodedBytesStatus EncodedBytes::read(io::IInputStream& in, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  const int64_t known = remainingInFile(in);
  if (known > static_cast<int64_t>(maxBytes)) return EncodedBytesStatus::kTooLarge;
  if (known >= 0) {
    // resize, not reserve: the bytes are read straight into the buffer. A file that
    // shrank meanwhile leaves the part read.
    bytes.resize(static_cast<size_t>(known));
    bytes.resize(io::Streams::readFully(in, bytes.data(), bytes.size()));
    return bytes.empty() ? EncodedBytesStatus::kEmpty : EncodedBytesStatus::kRead;
  }
  // A stream of unknown length: blocks until its end, one byte past the limit
  // telling that it is too long.
  for (;;) {
    const size_t used = bytes.size();
    const size_t block = std::min(kBlockBytes, maxBytes + 1 - used);
    bytes.resize(used + block);
    const size_t got = io::Streams::readFully(in, bytes.data() + used, block);
    bytes.resize(used + got);
    if (bytes.size() > maxBytes) {
      bytes.clear();
      return EncodedBytesStatus::kTooLarge;
    }
    if (got < block) break;
  }
  return bytes.empty() ? EncodedBytesStatus::kEmpty : EncodedBytesStatus::kRead;
}

}  // namespace s::image::util
