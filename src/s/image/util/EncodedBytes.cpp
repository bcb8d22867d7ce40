#include "s/image/util/EncodedBytes.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "s/file/IFileInputStream.h"
#include "s/io/Streams.h"

namespace s::image::util {

namespace {

constexpr size_t kFirstBlockBytes = size_t{1} << 20;

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

bool EncodedBytes::reserve(size_t capacity) {
  if (capacity <= capacity_) return true;
  // Default-initialised: no time spent clearing what is about to be read.
  std::unique_ptr<uint8_t[]> larger(new (std::nothrow) uint8_t[capacity]);
  if (!larger) return false;
  if (size_ != 0) std::memcpy(larger.get(), bytes_.get(), size_);
  bytes_ = std::move(larger);
  capacity_ = capacity;
  return true;
}

EncodedBytesStatus EncodedBytes::read(io::IInputStream& in, size_t maxBytes) {
  size_ = 0;
  const int64_t known = remainingInFile(in);
  if (known > static_cast<int64_t>(maxBytes)) return EncodedBytesStatus::kTooLarge;
  if (known >= 0) {
    if (known == 0) return EncodedBytesStatus::kEmpty;
    if (!reserve(static_cast<size_t>(known))) return EncodedBytesStatus::kRefused;
    // A file that shrank meanwhile leaves the part read.
    size_ = io::Streams::readFully(in, bytes_.get(), static_cast<size_t>(known));
    return size_ == 0 ? EncodedBytesStatus::kEmpty : EncodedBytesStatus::kRead;
  }
  // A stream of unknown length: blocks until its end, one byte past the limit
  // telling that it is too long.
  for (;;) {
    if (size_ == capacity_) {
      const size_t wanted = std::min(std::max(kFirstBlockBytes, capacity_ * 2), maxBytes + 1);
      if (wanted <= capacity_ || !reserve(wanted)) return EncodedBytesStatus::kRefused;
    }
    const size_t block = capacity_ - size_;
    const size_t got = io::Streams::readFully(in, bytes_.get() + size_, block);
    size_ += got;
    if (size_ > maxBytes) {
      size_ = 0;
      return EncodedBytesStatus::kTooLarge;
    }
    if (got < block) break;
  }
  return size_ == 0 ? EncodedBytesStatus::kEmpty : EncodedBytesStatus::kRead;
}

}  // namespace s::image::util
