#include "s/image/gui/dialogs/pictorva/DroppedFiles.h"

#include <algorithm>

#include "s/file/win/PathWin.h"
#include "s/image/gui/dialogs/pictorva/SmallCopyJob.h"
#include "s/str/NaturalOrder.h"
#include "s/str/strarray/StrArray.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;

namespace {

// The pictures directly inside folder, as full paths in natural order.
std::vector<std::u16string> picturesIn(PathWin& folder) {
  thread::Owned<str::strarray::StrArray> names(str::strarray::StrArray::create());
  folder.listFileNames(true, names.get());
  std::vector<std::u16string> found;
  for (size_t i = 0; i < names->count(); ++i) {
    const std::u16string_view name = names->textAt(i)->view();
    if (name.empty() || name.front() == u'.') continue;  // hidden
    thread::Owned<PathWin> entry = folder.child(name);
    if (SmallCopyJob::acceptsByName(*entry)) found.emplace_back(name);
  }
  std::sort(found.begin(), found.end(), [](const std::u16string& a, const std::u16string& b) {
    return str::naturalLess(a, b);
  });
  for (std::u16string& name : found) name = std::u16string(folder.child(name)->getFullPath().view());
  return found;
}

}  // namespace

DroppedFiles DroppedFiles::of(const std::vector<std::u16string>& paths) {
  DroppedFiles dropped;
  std::vector<std::u16string> folders;
  for (const std::u16string& path : paths) {
    thread::Owned<PathWin> entry = PathWin::fromText(path);
    if (entry->exists() && entry->isDirectory() && !entry->isDriveOnly()) {
      folders.push_back(path);
    } else {
      dropped.files.push_back(path);
    }
  }
  for (const std::u16string& path : folders) {
    thread::Owned<PathWin> folder = PathWin::fromText(path);
    std::vector<std::u16string> pictures = picturesIn(*folder);
    if (pictures.empty()) dropped.foldersWithoutPictures.push_back(path);
    for (std::u16string& picture : pictures) dropped.files.push_back(std::move(picture));
  }
  return dropped;
}

}  // namespace s::image::gui::dialogs::pictorva
