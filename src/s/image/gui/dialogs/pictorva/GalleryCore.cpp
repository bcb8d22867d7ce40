#include "s/image/gui/dialogs/pictorva/GalleryCore.h"

#include <algorithm>
#include <thread>

#include "s/file/win/PathWin.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;
using thread::Owned;

namespace {

Owned<PathWin> pathOf(std::u16string_view text) { return Owned<PathWin>(PathWin::fromText(text)); }

// A folder (or a bare drive) that this process can read and write.
bool isWritableFolder(PathWin& folder) {
  return folder.exists() && (folder.isDirectory() || folder.isDriveOnly()) && folder.isReadWritable();
}

}  // namespace

size_t GalleryOutcome::unreadCount() const {
  size_t count = 0;
  for (const UnreadablePicture& picture : unreadable) count += picture.isUnread() ? 1 : 0;
  return count;
}

GalleryCore::GalleryCore(int helperPriority) : helpers_(helperPriority) {}

void GalleryCore::setJobs(int jobs) { jobs_ = std::clamp(jobs, 0, kMaxJobs); }

int GalleryCore::jobs() const {
  const int jobs = jobs_.load();
  return jobs > 0 ? jobs : defaultJobs();
}

int GalleryCore::defaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxJobs));
}

bool GalleryCore::outputFolderAccepts(std::u16string_view firstPath, std::u16string* folderText) {
  folderText->clear();
  Owned<PathWin> first = pathOf(firstPath);
  Owned<PathWin> folder(first->parent());
  if (!folder || folder->getFullPath().length() == 0) return false;
  *folderText = std::u16string(folder->getFullPath().view());
  if (folder->exists()) return isWritableFolder(*folder);
  if (folder->isDriveOnly()) return false;
  // A folder that does not exist yet can be made where its parent is writable.
  Owned<PathWin> grandparent(folder->getParentOrNone());
  return grandparent && isWritableFolder(*grandparent);
}

std::u16string GalleryCore::outputFolderMessage(std::u16string_view text, std::u16string_view folder) {
  std::u16string message(text.empty() ? u"The output folder is inaccessible or write-protected." : text);
  if (!folder.empty()) {
    message += u"\r\n\"";
    message += folder;
    message += u"\"";
  }
  return message;
}

std::u16string GalleryCore::pageFileName(std::u16string_view title) {
  std::u16string name(title);
  for (char16_t& unit : name) {
    if (unit < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(unit) != std::u16string_view::npos) unit = u'_';
  }
#ifdef _WIN32
  // Windows opens a device for these names whatever follows the dot.
  static constexpr std::u16string_view kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL"};
  std::u16string upper;
  for (char16_t unit : name.substr(0, name.find(u'.'))) {
    upper.push_back(unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit);
  }
  while (!upper.empty() && upper.back() == u' ') upper.pop_back();
  bool device = false;
  for (std::u16string_view reserved : kDevices) device = device || upper == reserved;
  if (upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) && upper[3] >= u'1' &&
      upper[3] <= u'9') {
    device = true;
  }
  if (device) name.insert(name.begin(), u'_');
#endif
  name += u".html";
  return name;
}

}  // namespace s::image::gui::dialogs::pictorva
