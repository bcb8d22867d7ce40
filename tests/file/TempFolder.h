#pragma once
// A fresh folder under the system's temporary folder, deleted with its contents at the
// end of the test.
#include <algorithm>
#include <string>
#include <vector>

#include "s/file/FileSystem.h"
#include "s/file/PathSyntax.h"
#include "s/file/win/PathWin.h"
#include "s/str/strarray/StrArray.h"
#include "s/thread/Owned.h"

namespace s::file::testing {

class TempFolder {
 public:
  TempFolder() {
    const std::string number = std::to_string(FileSystem::uniqueNumber());
    path_ = FileSystem::tempFolder() + separator() + u"pictorva-files-" + std::u16string(number.begin(), number.end());
    thread::Owned<win::PathWin> folder(win::PathWin::fromText(path_));
    created_ = folder->createDirectory();
  }
  ~TempFolder() {
    thread::Owned<win::PathWin> folder(win::PathWin::fromText(path_));
    folder->remove();
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool created() const { return created_; }
  const std::u16string& path() const { return path_; }
  // path + separator + relative (relative written with "/", turned into the native separator).
  std::u16string operator/(std::u16string_view relative) const {
    std::u16string text = path_ + separator();
    for (char16_t c : relative) text += c == u'/' ? separator() : c;
    return text;
  }
  static char16_t separator() { return PathSyntax::separator(kNativeStyle); }

 private:
  std::u16string path_;
  bool created_ = false;
};

// A path in a holder.
inline thread::Owned<win::PathWin> pathOf(std::u16string_view text) {
  return thread::Owned<win::PathWin>(win::PathWin::fromText(text));
}

// The names a listing gave, sorted.
inline std::vector<std::u16string> sortedNames(const str::strarray::StrArray& names) {
  std::vector<std::u16string> result;
  for (size_t i = 0; i < names.count(); ++i) result.emplace_back(names.textAt(i)->view());
  std::sort(result.begin(), result.end());
  return result;
}

enum class Listed { kAll, kFiles };

// The sorted names of a folder's entries (the listing policy ignored).
inline std::vector<std::u16string> namesIn(std::u16string_view folder, Listed kind = Listed::kAll) {
  thread::Owned<str::strarray::StrArray> names(str::strarray::StrArray::create());
  thread::Owned<win::PathWin> path(win::PathWin::fromText(folder));
  if (kind == Listed::kAll) {
    path->listNames(true, names.get());
  } else {
    path->listFileNames(true, names.get());
  }
  return sortedNames(*names);
}

// Narrow text for failure messages.
inline std::string narrow(std::u16string_view text) {
  std::string result;
  for (char16_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
  return result;
}

}  // namespace s::file::testing
