#pragma once
// Enumerates the entries of one folder, without "." and "..". Attributes use the bits
// of FileSystem.h; on POSIX a symbolic link carries the reparse-point bit and the
// directory bit of its target, and is never descended into by callers.
#include <cstdint>
#include <string>
#include <string_view>

namespace s::file {

class DirectoryReader {
 public:
  struct Entry {
    std::u16string name;
    uint32_t attributes = 0;
    int64_t size = 0;
  };

  DirectoryReader() = default;
  ~DirectoryReader() { close(); }
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  // folder without a trailing separator (the long form on Windows).
  bool open(std::u16string_view folder);
  // The next entry; false when there are no more.
  bool next(Entry* entry);
  void close();

 private:
  void* state_ = nullptr;
};

}  // namespace s::file
