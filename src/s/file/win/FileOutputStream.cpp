#include "s/file/win/FileOutputStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"

namespace s::file::win {

bool FileOutputStream::open(std::u16string_view path, bool append) {
  close();
  failed_ = false;
  if (!file_.open(path, append ? FileHandle::Mode::kReadWriteAppend : FileHandle::Mode::kReadWriteCreate)) {
    failed_ = true;
    return false;
  }
  const int64_t start = file_.seek(0, FileHandle::Origin::kCurrent);
  position_ = start < 0 ? 0 : start;
  buffer_ = static_cast<unsigned char*>(base::allocOrDie(kBufferSize));
  fill_ = 0;
  return true;
}

bool FileOutputStream::writeBuffer() {
  if (fill_ == 0) return !failed_;
  size_t written = 0;
  const bool ok = file_.write(buffer_, fill_, &written) && written == fill_;
  fill_ = 0;
  if (!ok) failed_ = true;
  return ok;
}

bool FileOutputStream::write(const void* buffer, size_t count, size_t* writtenCount) {
  if (writtenCount) *writtenCount = 0;
  if (!file_.isOpen() || failed_) return false;
  const unsigned char* source = static_cast<const unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    if (fill_ == kBufferSize && !writeBuffer()) break;
    const size_t chunk = std::min(count - done, kBufferSize - fill_);
    std::memcpy(buffer_ + fill_, source + done, chunk);
    fill_ += chunk;
    done += chunk;
    position_ += static_cast<int64_t>(chunk);
  }
  if (writtenCount) *writtenCount = done;
  return done == count && !failed_;
}

bool FileOutputStream::flush() {
  if (!file_.isOpen()) return false;
  const bool written = writeBuffer();
  const bool synced = file_.sync();
  if (!synced) failed_ = true;
  return written && synced && !failed_;
}

bool FileOutputStream::truncate() {
  if (!flush()) return false;
  return file_.truncateHere();
}

bool FileOutputStream::close() {
  if (!file_.isOpen()) {
    std::free(buffer_);
    buffer_ = nullptr;
    fill_ = 0;
    position_ = 0;
    const bool ok = !failed_;
    failed_ = false;
    return ok;
  }
  bool ok = flush();
  if (!file_.close()) ok = false;
  std::free(buffer_);
  buffer_ = nullptr;
  fill_ = 0;
  position_ = 0;
  failed_ = false;
  return ok;
}

bool FileOutputStream::closeAndRelease() {
  const bool ok = close();
  release();
  return ok;
}

void FileOutputStream::reset() {
  (void)close();
  failed_ = false;
}

bool FileOutputStream::moveTo(int64_t offset, FileHandle::Origin origin) {
  if (!file_.isOpen() || !writeBuffer()) return false;
  const int64_t result = file_.seek(offset, origin);
  if (result < 0) return false;
  position_ = result;
  return true;
}

bool FileOutputStream::seek(int64_t position) {
  if (position == position_ && file_.isOpen()) return true;
  return moveTo(position, FileHandle::Origin::kBegin);
}

bool FileOutputStream::seekToEnd() { return moveTo(0, FileHandle::Origin::kEnd); }

bool FileOutputStream::seekFromEnd(int64_t back) { return moveTo(-back, FileHandle::Origin::kEnd); }

bool FileOutputStream::skip(int64_t forward) { return moveTo(forward, FileHandle::Origin::kCurrent); }

bool FileOutputStream::skipBack(int64_t back) { return moveTo(-back, FileHandle::Origin::kCurrent); }

bool FileOutputStream::read(void* buffer, size_t count, size_t* readCount) {
  if (readCount) *readCount = 0;
  // Buffered bytes go out first, so the file pointer and the stream position agree
  // and a later write lands where the stream says.
  if (!file_.isOpen() || !writeBuffer()) return false;
  size_t got = 0;
  if (!file_.read(buffer, count, &got) || got == 0) return false;
  position_ += static_cast<int64_t>(got);
  if (readCount) *readCount = got;
  return true;
}

}  // namespace s::file::win
