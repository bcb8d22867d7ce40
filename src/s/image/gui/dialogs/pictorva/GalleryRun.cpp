#include "s/image/gui/dialogs/pictorva/GalleryRun.h"

#include <algorithm>
#include <thread>

#include "s/file/win/PathWin.h"
#include "s/image/gui/dialogs/pictorva/GalleryEvent.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;
using str::strbuffer::StrBuffer;
using thread::Owned;

namespace {

// The priority of the worker: below normal, so a run never makes the desktop sluggish.
constexpr int kWorkerPriority = -1;

Owned<PathWin> pathOf(std::u16string_view text) { return Owned<PathWin>(PathWin::fromText(text)); }

// A folder (or a bare drive) that this process can read and write.
bool isWritableFolder(PathWin& folder) {
  return folder.exists() && (folder.isDirectory() || folder.isDriveOnly()) && folder.isReadWritable();
}

}  // namespace

GalleryRun::GalleryRun(thread::SyncRelay* events, Hooks hooks)
    : events_(events),
      hooks_(std::move(hooks)),
      jobList_(str::strarray::StrArray::create()),
      setting_(Setting::create()),
      worker_(thread::win::Thread::create()),
      helpers_(kWorkerPriority) {
  worker_->setPriority(kWorkerPriority);
}

GalleryRun::~GalleryRun() {
  cancel_ = 1;
  waitIdle();
  cancel_ = 0;
}

void GalleryRun::setJobs(int jobs) { jobs_ = std::clamp(jobs, 0, kMaxJobs); }

int GalleryRun::jobs() const {
  const int jobs = jobs_.load();
  return jobs > 0 ? jobs : defaultJobs();
}

int GalleryRun::defaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxJobs));
}

void GalleryRun::waitIdle() {
  // The worker may be blocked sending an event to this very thread: handle events
  // until run() has sent its last one (it wakes the relay then). A closed relay
  // fails every send at once, so nothing can block on it.
  if (events_ && events_->isReceiver()) {
    while (inRun_.load() && !events_->isClosed()) events_->waitAndPump(-1);
  }
  worker_->waitIdle();
}

std::u16string GalleryRun::outputFolderMessage(std::u16string_view folder) const {
  std::u16string message = hooks_.languageText ? hooks_.languageText(kTextOutputFolderRefused) : std::u16string();
  if (message.empty()) message = u"The output folder is inaccessible or write-protected.";
  if (!folder.empty()) {
    message += u"\r\n\"";
    message += folder;
    message += u"\"";
  }
  return message;
}

bool GalleryRun::outputFolderAccepts(std::u16string_view firstPath, std::u16string* folderText) const {
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

GalleryRun::StartResult GalleryRun::start(const std::vector<std::u16string>& paths) {
  if (paths.empty()) return StartResult::kEmptyList;
  thread::ObjLocker::Scope lock(jobLock_);
  if (running_) return StartResult::kBusy;  // a drop during a run is ignored, not queued
  setting_->reset();
  if (hooks_.apply) hooks_.apply(*setting_);
  // The language pack belongs to this thread; the run takes the words with it.
  if (setting_->style == Setting::kStyleAlbum) {
    albumWords_ = AlbumWords::of(hooks_.languageTag ? hooks_.languageTag() : std::u16string(u"eng"), hooks_.languageText);
  }
  std::u16string folder;
  if (!outputFolderAccepts(paths.front(), &folder)) {
    // A refused drop leaves nothing behind in the job list.
    if (hooks_.showMessage) hooks_.showMessage(outputFolderMessage(folder));
    return StartResult::kFolderRefused;
  }
  for (const std::u16string& path : paths) jobList_->appendCopy(path);
  running_ = 1;
  inRun_ = 1;
  if (!worker_->start(this)) {
    jobList_->clear();
    running_ = 0;
    inRun_ = 0;
    return StartResult::kNoWorker;
  }
  return StartResult::kStarted;
}

void GalleryRun::finish() {
  thread::ObjLocker::Scope lock(jobLock_);
  jobList_->clear();
  running_ = 0;
  cancel_ = 0;
}

std::u16string GalleryRun::pagePath() {
  thread::ObjLocker::Scope lock(jobLock_);
  return pagePath_;
}

size_t GalleryRun::jobCount() {
  thread::ObjLocker::Scope lock(jobLock_);
  return jobList_->count();
}

bool GalleryRun::jobEntry(size_t index, std::u16string* entry) {
  thread::ObjLocker::Scope lock(jobLock_);
  if (index >= jobList_->count()) return false;
  *entry = std::u16string(jobList_->textAt(index)->view());
  return true;
}

void GalleryRun::send(const char16_t* name, uint32_t first, uint32_t second, const char16_t* text) {
  if (events_) events_->send(GalleryEvent{name, first, second, text}.toRecord());
}

std::u16string GalleryRun::pageFileName(std::u16string_view title) {
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
