#pragma once
// An open file of the platform (a Win32 handle or a POSIX descriptor), closed with
// the holder. Reads and writes are single platform calls; positions are 64-bit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace s::file {

class FileHandle {
 public:
  enum class Mode {
    // Existing files only, shared for reading and writing, sequential-scan hint.
    kRead,
    // Reading and writing; created afresh, an existing file is truncated.
    kReadWriteCreate,
    // Reading and writing; opened or created, positioned at the end.
    kReadWriteAppend,
  };
  enum class Origin { kBegin, kCurrent, kEnd };

  FileHandle() = default;
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool open(std::u16string_view path, Mode mode);
  bool isOpen() const { return handle_ != kNone; }
  // False when the platform reported a failure (for example a delayed write error).
  bool close();

  // One platform read; *count receives the bytes read (0 at the end).
  bool read(void* buffer, size_t size, size_t* count);
  // Writes all bytes, repeating short writes; *count receives the bytes written.
  bool write(const void* buffer, size_t size, size_t* count);
  // The new position, or -1.
  int64_t seek(int64_t offset, Origin origin);
  // Pushes the file's data to the device.
  bool sync();
  // Ends the file at the current position.
  bool truncateHere();
  // The file's size, or -1.
  int64_t size();

 private:
  static constexpr intptr_t kNone = -1;
  intptr_t handle_ = kNone;
};

}  // namespace s::file
