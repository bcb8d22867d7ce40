#include "s/file/win/FileInputStream.h"

namespace s::file::win {

bool FileInputStream::open(std::u16string_view path) {
  close();
  return file_.open(path, FileHandle::Mode::kRead);
}

bool FileInputStream::read(void* buffer, size_t count, size_t* readCount) {
  size_t got = 0;
  const bool ok = file_.read(buffer, count, &got) && got > 0;
  if (readCount) *readCount = ok ? got : 0;
  if (!ok) return false;
  position_ += static_cast<int64_t>(got);
  return true;
}

bool FileInputStream::close() {
  position_ = 0;
  return file_.close();
}

bool FileInputStream::moveTo(int64_t offset, FileHandle::Origin origin) {
  const int64_t result = file_.seek(offset, origin);
  if (result < 0) return false;
  position_ = result;
  return true;
}

bool FileInputStream::seek(int64_t position) {
  if (position == position_ && file_.isOpen()) return true;
  return moveTo(position, FileHandle::Origin::kBegin);
}

bool FileInputStream::seekToEnd() { return moveTo(0, FileHandle::Origin::kEnd); }

bool FileInputStream::seekFromEnd(int64_t back) { return moveTo(-back, FileHandle::Origin::kEnd); }

bool FileInputStream::skip(int64_t forward) { return moveTo(forward, FileHandle::Origin::kCurrent); }

bool FileInputStream::skipBack(int64_t back) { return moveTo(-back, FileHandle::Origin::kCurrent); }

void FileInputStream::reset() { close(); }

}  // namespace s::file::win
