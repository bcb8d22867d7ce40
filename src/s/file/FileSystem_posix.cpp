#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

#include "s/file/FileSystem.h"
#include "s/file/NameCodec.h"

namespace s::file {

namespace {

thread_local FsError lastError_ = FsError::kNone;

bool fail(FsError error) {
  lastError_ = error;
  return false;
}

bool failFromErrno() {
  switch (errno) {
    case ENOENT:
    case ENOTDIR:
      return fail(FsError::kNotFound);
    case EEXIST:
      return fail(FsError::kExists);
    case EACCES:
    case EPERM:
    case EROFS:
      return fail(FsError::kAccessDenied);
    case EXDEV:
      return fail(FsError::kCrossDevice);
    case ENOTEMPTY:
      return fail(FsError::kNotEmpty);
    default:
      return fail(FsError::kOther);
  }
}

bool bytesOf(std::u16string_view path, std::string* bytes) {
  if (path.empty() || !NameCodec::encode(path, bytes)) return fail(FsError::kNotFound);
  return true;
}

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

int64_t fileTimeOf(const struct timespec& time) {
  return kEpochDifference + static_cast<int64_t>(time.tv_sec) * 10000000 + time.tv_nsec / 100;
}

struct timespec timespecOf(int64_t fileTime) {
  struct timespec time;
  if (fileTime == 0) {
    time.tv_sec = 0;
    time.tv_nsec = UTIME_OMIT;
    return time;
  }
  const int64_t sinceEpoch = fileTime - kEpochDifference;
  int64_t seconds = sinceEpoch / 10000000;
  int64_t rest = sinceEpoch % 10000000;
  if (rest < 0) rest += 10000000, --seconds;
  time.tv_sec = static_cast<time_t>(seconds);
  time.tv_nsec = static_cast<long>(rest * 100);
  return time;
}

std::string lastComponent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeFully(int fd, const char* data, size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, data, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    data += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

// Resolves "." and ".." by name in an absolute path.
std::u16string normalizeAbsolute(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::u16string_view rest(path);
  while (!rest.empty()) {
    const size_t slash = rest.find(u'/');
    const std::u16string_view part = rest.substr(0, slash);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    if (slash == std::u16string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  std::u16string result;
  for (auto part : parts) {
    result += u'/';
    result += part;
  }
  return result.empty() ? std::u16string(u"/") : result;
}

}  // namespace

FsError FileSystem::lastError() { return lastError_; }

uint32_t FileSystem::attributes(std::u16string_view path) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return kInvalidAttributes;
  struct stat linkInfo;
  if (::lstat(bytes.c_str(), &linkInfo) != 0) {
    failFromErrno();
    return kInvalidAttributes;
  }
  uint32_t result = 0;
  struct stat info = linkInfo;
  if (S_ISLNK(linkInfo.st_mode)) {
    result |= kAttributeReparsePoint;
    // A dangling link still exists as a name; describe the link itself then.
    if (::stat(bytes.c_str(), &info) != 0) info = linkInfo;
  }
  if (S_ISDIR(info.st_mode)) result |= kAttributeDirectory;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) result |= kAttributeReadOnly;
  const std::string name = lastComponent(bytes);
  if (name.size() > 1 && name[0] == '.' && name != "..") result |= kAttributeHidden;
  if (result == 0) result = kAttributeNormal;
  return result;
}

bool FileSystem::setAttributes(std::u16string_view path, uint32_t attributes) {
  // Only the read-only bit has a POSIX meaning: it clears or restores write permission.
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  struct stat info;
  if (::stat(bytes.c_str(), &info) != 0) return failFromErrno();
  mode_t mode = info.st_mode & 07777;
  if (attributes & kAttributeReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    mode |= S_IWUSR;
  }
  if (mode == (info.st_mode & 07777)) return true;
  return ::chmod(bytes.c_str(), mode) == 0 || failFromErrno();
}

bool FileSystem::status(std::u16string_view path, FileStatus* status) {
  *status = FileStatus();
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  struct statx info;
  if (::statx(AT_FDCWD, bytes.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return failFromErrno();
  // Folders have no size of their own, as on Windows.
  status->size = S_ISDIR(info.stx_mode) ? 0 : static_cast<int64_t>(info.stx_size);
  const auto toFileTime = [](const struct statx_timestamp& stamp) {
    struct timespec time;
    time.tv_sec = static_cast<time_t>(stamp.tv_sec);
    time.tv_nsec = static_cast<long>(stamp.tv_nsec);
    return fileTimeOf(time);
  };
  status->accessTime = toFileTime(info.stx_atime);
  status->writeTime = toFileTime(info.stx_mtime);
  // Not every file system keeps a birth time; the change time stands in for it.
  status->creationTime = (info.stx_mask & STATX_BTIME) ? toFileTime(info.stx_btime) : toFileTime(info.stx_ctime);
  return true;
}

bool FileSystem::setTimes(std::u16string_view path, const FileStatus& times) {
  // A POSIX file's creation time cannot be set.
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  const struct timespec both[2] = {timespecOf(times.accessTime), timespecOf(times.writeTime)};
  return ::utimensat(AT_FDCWD, bytes.c_str(), both, 0) == 0 || failFromErrno();
}

bool FileSystem::canAccess(std::u16string_view path, bool read, bool write) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  int mode = F_OK;
  if (read) mode |= R_OK;
  if (write) mode |= W_OK;
  return ::access(bytes.c_str(), mode) == 0 || failFromErrno();
}

bool FileSystem::createDirectory(std::u16string_view path) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  return ::mkdir(bytes.c_str(), 0777) == 0 || failFromErrno();
}

bool FileSystem::createNewFile(std::u16string_view path) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  const int fd = ::open(bytes.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return failFromErrno();
  return ::close(fd) == 0 || failFromErrno();
}

bool FileSystem::removeFile(std::u16string_view path) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  return ::unlink(bytes.c_str()) == 0 || failFromErrno();
}

bool FileSystem::removeDirectory(std::u16string_view path) {
  std::string bytes;
  if (!bytesOf(path, &bytes)) return false;
  struct stat info;
  if (::lstat(bytes.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    return ::unlink(bytes.c_str()) == 0 || failFromErrno();
  }
  return ::rmdir(bytes.c_str()) == 0 || failFromErrno();
}

bool FileSystem::rename(std::u16string_view from, std::u16string_view to, bool replace) {
  std::string fromBytes;
  std::string toBytes;
  if (!bytesOf(from, &fromBytes) || !bytesOf(to, &toBytes)) return false;
  if (!replace) {
    // A hard link fails when the target exists, so nothing is replaced by accident;
    // folders and file systems without hard links fall back to checking first.
    if (::link(fromBytes.c_str(), toBytes.c_str()) == 0) {
      if (::unlink(fromBytes.c_str()) == 0) return true;
      const bool undone = ::unlink(toBytes.c_str()) == 0;
      (void)undone;
      return failFromErrno();
    }
    if (errno == EEXIST) return fail(FsError::kExists);
    if (errno == EXDEV) return fail(FsError::kCrossDevice);
    if (errno == ENOENT) return fail(FsError::kNotFound);
    struct stat info;
    if (::lstat(toBytes.c_str(), &info) == 0) return fail(FsError::kExists);
  }
  if (::rename(fromBytes.c_str(), toBytes.c_str()) != 0) return failFromErrno();
  // Write-through: make the new name durable.
  const std::string folder = toBytes.find('/') == std::string::npos ? "." : toBytes.substr(0, toBytes.find_last_of('/') + 1);
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return true;
}

bool FileSystem::copyFileToNew(std::u16string_view from, std::u16string_view to) {
  std::string fromBytes;
  std::string toBytes;
  if (!bytesOf(from, &fromBytes) || !bytesOf(to, &toBytes)) return false;
  const int source = ::open(fromBytes.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return failFromErrno();
  struct stat info;
  if (::fstat(source, &info) != 0) {
    failFromErrno();
    ::close(source);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(source);
    return fail(FsError::kOther);
  }
  const int target = ::open(toBytes.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (target < 0) {
    failFromErrno();
    ::close(source);
    return false;
  }
  bool ok = true;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(source, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!writeFully(target, buffer.data(), static_cast<size_t>(got))) {
      ok = false;
      break;
    }
  }
  if (ok) {
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ::futimens(target, times);
    ::fchmod(target, info.st_mode & 07777);
    // A copy is complete only once its bytes reached the disk.
    ok = ::fsync(target) == 0;
  }
  if (!ok) failFromErrno();
  ::close(source);
  if (::close(target) != 0 && ok) ok = failFromErrno();
  if (!ok) ::unlink(toBytes.c_str());
  return ok;
}

bool FileSystem::copySymbolicLink(std::u16string_view from, std::u16string_view to) {
  std::string fromBytes;
  std::string toBytes;
  if (!bytesOf(from, &fromBytes) || !bytesOf(to, &toBytes)) return false;
  std::vector<char> target(PATH_MAX + 1);
  const ssize_t length = ::readlink(fromBytes.c_str(), target.data(), target.size() - 1);
  if (length < 0) return failFromErrno();
  target[static_cast<size_t>(length)] = 0;
  return ::symlink(target.data(), toBytes.c_str()) == 0 || failFromErrno();
}

bool FileSystem::absolutePath(std::u16string_view path, std::u16string* absolute) {
  if (path.empty()) return fail(FsError::kNotFound);
  if (path[0] == u'/') {
    *absolute = normalizeAbsolute(path);
    return true;
  }
  std::vector<char> cwd(PATH_MAX + 1);
  if (::getcwd(cwd.data(), cwd.size()) == nullptr) return failFromErrno();
  std::u16string joined;
  NameCodec::decode(cwd.data(), &joined);
  joined += u'/';
  joined += path;
  *absolute = normalizeAbsolute(joined);
  return true;
}

bool FileSystem::canonicalPath(std::u16string_view path, std::u16string* canonical) {
  std::u16string absolute;
  if (!absolutePath(path, &absolute)) return false;
  // Resolve the longest existing prefix, then append the rest by name.
  std::u16string existing = absolute;
  std::u16string rest;
  for (;;) {
    std::string bytes;
    if (!NameCodec::encode(existing, &bytes)) return fail(FsError::kNotFound);
    char resolved[PATH_MAX];
    if (::realpath(bytes.c_str(), resolved) != nullptr) {
      canonical->clear();
      NameCodec::decode(resolved, canonical);
      if (!rest.empty()) {
        if (canonical->back() != u'/') *canonical += u'/';
        *canonical += rest;
      }
      return true;
    }
    const size_t slash = existing.find_last_of(u'/');
    if (slash == std::u16string::npos || existing == u"/") return failFromErrno();
    const std::u16string tail = existing.substr(slash + 1);
    rest = rest.empty() ? tail : tail + u'/' + rest;
    existing.resize(slash == 0 ? 1 : slash);
  }
}

bool FileSystem::volumeInfo(std::u16string_view root, VolumeInfo* info) {
  std::string bytes;
  if (!bytesOf(root, &bytes)) return false;
  struct statvfs volume;
  if (::statvfs(bytes.c_str(), &volume) != 0) return failFromErrno();
  // POSIX names no file system kinds that the Windows names cover.
  info->fileSystemName.clear();
  info->bytesPerSector = 512;
  const int64_t block = static_cast<int64_t>(volume.f_frsize ? volume.f_frsize : volume.f_bsize);
  info->sectorsPerCluster = block >= 512 ? block / 512 : 1;
  return true;
}

std::u16string FileSystem::systemFolder() { return u"/"; }

std::u16string FileSystem::tempFolder() {
  const char* dir = ::getenv("TMPDIR");
  std::u16string result;
  NameCodec::decode(dir && dir[0] ? dir : "/tmp", &result);
  while (result.size() > 1 && result.back() == u'/') result.pop_back();
  return result;
}

uint64_t FileSystem::uniqueNumber() {
  static std::atomic<uint64_t> counter{0};
  return (static_cast<uint64_t>(::getpid()) << 32) ^ ++counter;
}

}  // namespace s::file
