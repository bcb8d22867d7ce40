#include "s/image/gui/dialogs/pictorva/GalleryRun.h"

#include "s/thread/JobEvent.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

// The priority of the worker and its helpers: below normal, so a run never makes the
// desktop sluggish.
constexpr int kWorkerPriority = -1;

}  // namespace

GalleryRun::GalleryRun(thread::SyncRelay* events, Hooks hooks)
    : events_(events),
      hooks_(std::move(hooks)),
      jobList_(str::strarray::StrArray::create()),
      setting_(Setting::create()),
      core_(kWorkerPriority),
      worker_(thread::win::Thread::create()) {
  worker_->setPriority(kWorkerPriority);
}

GalleryRun::~GalleryRun() {
  cancel_ = 1;
  waitIdle();
  cancel_ = 0;
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
  const std::u16string text = hooks_.languageText ? hooks_.languageText(kTextOutputFolderRefused) : std::u16string();
  return GalleryCore::outputFolderMessage(text, folder);
}

GalleryRun::StartResult GalleryRun::start(const std::vector<std::u16string>& paths) {
  if (paths.empty()) return StartResult::kEmptyList;
  thread::ObjLocker::Scope lock(jobLock_);
  if (running_) return StartResult::kBusy;  // a drop during a run is ignored, not queued
  setting_->reset();
  if (hooks_.apply) hooks_.apply(*setting_);
  // The language pack belongs to this thread; the run takes the words with it.
  if (setting_->style == Setting::kStyleAlbum) {
    core_.setAlbumWords(
        AlbumWords::of(hooks_.languageTag ? hooks_.languageTag() : std::u16string(u"eng"), hooks_.languageText));
  }
  std::u16string folder;
  if (!GalleryCore::outputFolderAccepts(paths.front(), &folder)) {
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

std::vector<std::u16string> GalleryRun::jobPaths() {
  thread::ObjLocker::Scope lock(jobLock_);
  std::vector<std::u16string> paths;
  paths.reserve(jobList_->count());
  for (size_t i = 0; i < jobList_->count(); ++i) paths.emplace_back(jobList_->textAt(i)->view());
  return paths;
}

void GalleryRun::run() {
  // The job list and the setting change only while no run is active.
  core_.make(*setting_, jobPaths(), *this, &cancel_);
  // A receiver releasing the run waits, pumping, for this.
  inRun_ = 0;
  if (events_) events_->wake();
}

void GalleryRun::send(const char16_t* name, uint32_t first, uint32_t second, const char16_t* text) {
  if (events_) events_->send(thread::JobEvent{name, first, second, text}.toRecord());
}

void GalleryRun::started() { send(thread::kProcessStatusStart); }

void GalleryRun::stepStarted(size_t total, size_t index, std::u16string_view fileName) {
  const std::u16string name(fileName);  // the event's text ends in a zero
  send(thread::kProcessStatusUpdate, static_cast<uint32_t>(total), static_cast<uint32_t>(index), name.c_str());
}

void GalleryRun::ended(const GalleryOutcome& outcome) {
  {
    thread::ObjLocker::Scope lock(jobLock_);
    pagePath_ = outcome.pagePath;
  }
  if (!outcome.unreadable.empty()) {
    const std::u16string lines = outcome.unreadableText(hooks_.languageText);
    send(thread::kProcessStatusUnreadable, static_cast<uint32_t>(outcome.unreadCount()),
         static_cast<uint32_t>(outcome.pictures), lines.c_str());
  }
  const bool failed = !outcome.failures.empty();
  const std::u16string failures = outcome.failureText(hooks_.languageText);
  send(thread::kProcessStatusEnd, failed ? thread::kEndFailed : 0, 0, failed ? failures.c_str() : nullptr);
}

}  // namespace s::image::gui::dialogs::pictorva
