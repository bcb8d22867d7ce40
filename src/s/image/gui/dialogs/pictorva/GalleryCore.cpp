#include "s/image/gui/dialogs/pictorva/GalleryCore.h"

#include <algorithm>
#include <thread>

#include "s/file/win/PathWin.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/lang/StatusTexts.h"
#include "s/str/Decimal.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;
using thread::Owned;

namespace {

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

namespace {

std::u16string textOrEnglish(const std::function<std::u16string(int32_t id)>& text, int32_t id) {
  std::u16string found = text ? text(id) : std::u16string();
  return found.empty() ? std::u16string(lang::StatusTexts::english(id)) : found;
}

}  // namespace

std::u16string GalleryOutcome::failureText(const std::function<std::u16string(int32_t id)>& text) const {
  std::u16string lines;
  for (const GalleryFailure& failure : failures) {
    if (!lines.empty()) lines += u"\r\n";
    lines += textOrEnglish(text, failure.what);
    lines += u" \"";
    lines += failure.path;
    lines += u"\"";
  }
  return lines;
}

std::u16string UnreadablePicture::line(const std::function<std::u16string(int32_t id)>& text) const {
  using lang::StatusTexts;
  std::u16string reasonText;
  switch (reason) {
    case Reason::kDamaged: reasonText = textOrEnglish(text, StatusTexts::kDamaged); break;
    case Reason::kTooLarge:
      reasonText = StatusTexts::fill(textOrEnglish(text, StatusTexts::kTooLarge),
                                     {str::decimal(width), str::decimal(height), str::decimal(limit)});
      break;
    case Reason::kTooManyFramePixels:
      reasonText = StatusTexts::fill(textOrEnglish(text, StatusTexts::kTooManyFramePixels),
                                     {str::decimal(width), str::decimal(limit)});
      break;
    case Reason::kUnsupported:
      reasonText = StatusTexts::fill(textOrEnglish(text, StatusTexts::kUnsupported), {variant});
      break;
    case Reason::kAnimationCut:
      reasonText = StatusTexts::fill(textOrEnglish(text, StatusTexts::kAnimationCut), {str::decimal(limit)});
      break;
    case Reason::kNoPicturesInFolder: reasonText = textOrEnglish(text, StatusTexts::kNoPicturesInFolder); break;
  }
  return name + u": " + reasonText;
}

std::u16string GalleryOutcome::unreadableText(const std::function<std::u16string(int32_t id)>& text) const {
  std::u16string lines;
  for (const UnreadablePicture& picture : unreadable) {
    if (!lines.empty()) lines += u"\r\n";
    lines += picture.line(text);
  }
  return lines;
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
  Owned<PathWin> first = PathWin::fromText(firstPath);
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
