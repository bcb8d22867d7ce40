#pragma once
// The thin platform layer under paths and streams: file system calls on UTF-16
// names. On Windows the names go to the wide-character Win32 API unchanged (callers
// pass the long form for long paths); on POSIX they are converted with NameCodec and a
// name without a byte form fails like a missing file.
//
// Attributes use the Win32 bits on every system. On POSIX they are derived from
// lstat/stat: directory, read-only (no write permission), hidden (a leading "."),
// reparse point (a symbolic link; the other bits then describe its target).
// Times are 100-nanosecond intervals since 1601-01-01 UTC on every system.
#include <cstdint>
#include <string>
#include <string_view>

namespace s::file {

inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeHidden = 0x2;
inline constexpr uint32_t kAttributeSystem = 0x4;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeArchive = 0x20;
inline constexpr uint32_t kAttributeNormal = 0x80;
inline constexpr uint32_t kAttributeReparsePoint = 0x400;
// What the platform answers for a missing object: every bit set.
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

struct FileStatus {
  int64_t size = 0;
  int64_t creationTime = 0;
  int64_t accessTime = 0;
  int64_t writeTime = 0;
};

struct VolumeInfo {
  std::u16string fileSystemName;
  int64_t bytesPerSector = 0;
  int64_t sectorsPerCluster = 0;
};

enum class FsError { kNone, kNotFound, kExists, kAccessDenied, kCrossDevice, kNotEmpty, kOther };

class FileSystem {
 public:
  FileSystem() = delete;

  // The error of the last failed call of this class on this thread.
  static FsError lastError();

  static uint32_t attributes(std::u16string_view path);
  static bool setAttributes(std::u16string_view path, uint32_t attributes);
  static bool status(std::u16string_view path, FileStatus* status);
  // Times of 0 are left unchanged.
  static bool setTimes(std::u16string_view path, const FileStatus& times);
  static bool canAccess(std::u16string_view path, bool read, bool write);

  static bool createDirectory(std::u16string_view path);
  // Creates an empty file; fails when the name exists.
  static bool createNewFile(std::u16string_view path);
  static bool removeFile(std::u16string_view path);
  // Removes an empty folder (or, on POSIX, a symbolic link to one).
  static bool removeDirectory(std::u16string_view path);
  // Renames within a volume, write-through; with replace an existing file target is
  // replaced, without it an existing target makes the call fail. Fails with
  // kCrossDevice when the platform cannot rename across volumes.
  static bool rename(std::u16string_view from, std::u16string_view to, bool replace);
  // Copies a file's content, attributes and times to a new file `to` that must not
  // exist. On failure `to` is removed again.
  static bool copyFileToNew(std::u16string_view from, std::u16string_view to);
  // POSIX: recreates a symbolic link; Windows: false.
  static bool copySymbolicLink(std::u16string_view from, std::u16string_view to);

  // The absolute form of path, with "." and ".." resolved by name.
  static bool absolutePath(std::u16string_view path, std::u16string* absolute);
  // The absolute form with symbolic links of its existing part resolved (POSIX); on
  // Windows the absolute form.
  static bool canonicalPath(std::u16string_view path, std::u16string* canonical);
  static bool volumeInfo(std::u16string_view root, VolumeInfo* info);
  // The folder of the system (Windows folder), or empty.
  static std::u16string systemFolder();
  // The temporary folder without a trailing separator.
  static std::u16string tempFolder();
  // A value different on every call within the process (for temporary names).
  static uint64_t uniqueNumber();
};

}  // namespace s::file
