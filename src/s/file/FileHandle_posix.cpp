#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "s/file/FileHandle.h"
#include "s/file/NameCodec.h"

namespace s::file {

bool FileHandle::open(std::u16string_view path, Mode mode) {
  close();
  std::string bytes;
  if (path.empty() || !NameCodec::encode(path, &bytes)) return false;
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::kRead:
      flags |= O_RDONLY;
      break;
    case Mode::kReadWriteCreate:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
    case Mode::kReadWriteAppend:
      flags |= O_RDWR | O_CREAT;
      break;
  }
  const int fd = ::open(bytes.c_str(), flags, 0666);
  if (fd < 0) return false;
  struct stat info;
  // A folder opens for reading on POSIX, but it is not a file.
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  if (mode == Mode::kRead) ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  handle_ = fd;
  if (mode == Mode::kReadWriteAppend && seek(0, Origin::kEnd) < 0) {
    close();
    return false;
  }
  return true;
}

bool FileHandle::close() {
  if (handle_ == kNone) return true;
  const int fd = static_cast<int>(handle_);
  handle_ = kNone;
  return ::close(fd) == 0;
}

bool FileHandle::read(void* buffer, size_t size, size_t* count) {
  *count = 0;
  if (handle_ == kNone) return false;
  if (size > SSIZE_MAX) size = SSIZE_MAX;
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    *count = static_cast<size_t>(got);
    return true;
  }
}

bool FileHandle::write(const void* buffer, size_t size, size_t* count) {
  *count = 0;
  if (handle_ == kNone) return false;
  const char* data = static_cast<const char*>(buffer);
  while (*count < size) {
    size_t chunk = size - *count;
    if (chunk > SSIZE_MAX) chunk = SSIZE_MAX;
    const ssize_t written = ::write(static_cast<int>(handle_), data + *count, chunk);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    *count += static_cast<size_t>(written);
  }
  return true;
}

int64_t FileHandle::seek(int64_t offset, Origin origin) {
  if (handle_ == kNone) return -1;
  const int whence = origin == Origin::kBegin ? SEEK_SET : origin == Origin::kCurrent ? SEEK_CUR : SEEK_END;
  const off_t result = ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
  return result < 0 ? -1 : static_cast<int64_t>(result);
}

bool FileHandle::sync() {
  if (handle_ == kNone) return false;
  const int fd = static_cast<int>(handle_);
  // Character devices and pipes cannot be synced; their data has left us already.
  return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

bool FileHandle::truncateHere() {
  const int64_t position = seek(0, Origin::kCurrent);
  if (position < 0) return false;
  return ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(position)) == 0;
}

int64_t FileHandle::size() {
  if (handle_ == kNone) return -1;
  struct stat info;
  if (::fstat(static_cast<int>(handle_), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

}  // namespace s::file
