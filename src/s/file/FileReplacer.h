#pragma once
// Rewrites a file so that readers, and a crash at any moment, see either the old
// content or the new one, never a mix or a truncated file: the new content goes to a
// temporary file in the target's folder (so the rename stays on one volume), is
// pushed to the device, and the temporary file is then renamed over the target.
//
//   FileReplacer replacer(path);
//   bool ok = replacer.writeTemporary(bytes, size) && replacer.commit();
//
// An uncommitted temporary file is removed when the replacer goes.
#include <cstddef>
#include <string>
#include <string_view>

namespace s::file {

class FileReplacer {
 public:
  explicit FileReplacer(std::u16string_view target);
  ~FileReplacer();
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Writes the whole new content to the temporary file, creating missing folders.
  bool writeTemporary(const void* data, size_t size);
  // Renames the temporary file over the target (replacing it).
  bool commit();

  const std::u16string& temporaryPath() const { return temporary_; }

  // Both steps at once.
  static bool replace(std::u16string_view target, const void* data, size_t size);

 private:
  std::u16string target_;
  std::u16string temporary_;
  bool written_ = false;
};

}  // namespace s::file
