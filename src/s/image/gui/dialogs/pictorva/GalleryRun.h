#pragma once
// The gallery run: the window's side of a gallery (GalleryCore makes it). A drop
// starts a run with the dropped paths; the run makes the gallery on its own worker
// thread, at below-normal priority, and reports through the relay, as records of four
// values (thread/JobEvent.h): "ProcessStatusStart", one "ProcessStatusUpdate" per
// step, "ProcessStatusEnd".
//
// Threads. start(), cancel() and finish() belong to the receiving thread (the
// window's). Each send waits until the receiver has handled the event; the worker
// never holds the job lock while it sends. When the receiver has handled the end
// event it calls finish(), which empties the job list and accepts the next start.
//
// Releasing the run (or waitIdle) cancels nothing by itself but waits for the worker;
// on the receiving thread it handles the worker's events while it waits, since the
// worker may be waiting for that very thread, so a release from any thread cannot
// deadlock. The relay must outlive the run.
//
// The number of pictures made at once (setJobs) and the pixel budget are the core's.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/GalleryCore.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/str/strarray/StrArray.h"
#include "s/thread/ITask.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Owned.h"
#include "s/thread/SyncRelay.h"
#include "s/thread/win/Thread.h"

namespace s::image::gui::dialogs::pictorva {

class GalleryRun final : public thread::ITask, private IGalleryProgress {
 public:
  struct Hooks {
    // Fills the setting just before a run (the window reads its fields here). The
    // setting has been reset when it is called.
    std::function<void(Setting& setting)> apply;
    // Shows why a start was refused (a message box).
    std::function<void(std::u16string_view message)> showMessage;
    // A text of the language pack by id; empty when the pack has none.
    std::function<std::u16string(int id)> languageText;
    // The language pack's tag ("eng", "jpn"), for an album page's words.
    std::function<std::u16string()> languageTag;
  };

  enum class StartResult { kStarted, kEmptyList, kBusy, kFolderRefused, kNoWorker };

  static constexpr int kTextOutputFolderRefused = GalleryCore::kTextOutputFolderRefused;
  static constexpr int kMaxJobs = GalleryCore::kMaxJobs;

  GalleryRun(thread::SyncRelay* events, Hooks hooks);
  // Cancels a run and waits until the worker is idle.
  ~GalleryRun() override;
  GalleryRun(const GalleryRun&) = delete;
  GalleryRun& operator=(const GalleryRun&) = delete;

  StartResult start(const std::vector<std::u16string>& paths);
  void cancel() { cancel_ = 1; }
  // The receiver has handled "ProcessStatusEnd".
  void finish();

  bool isRunning() const { return running_.load() != 0; }
  bool isCancelling() const { return cancel_.load() != 0; }
  // Waits until the worker is idle; on the receiving thread, handling its events.
  void waitIdle();

  // Pictures the scale pass makes at once, and their pixel budget (GalleryCore), from
  // the next start on.
  void setJobs(int jobs) { core_.setJobs(jobs); }
  int jobs() const { return core_.jobs(); }
  void setPixelBudget(size_t bytes) { core_.setPixelBudget(bytes); }

  const Setting& setting() const { return *setting_; }
  // The page of the last run, set before its end event.
  std::u16string pagePath();

  // The run, on the worker thread.
  void run() override;

  // The text shown when the output folder of a start cannot be written.
  std::u16string outputFolderMessage(std::u16string_view folder) const;

 private:
  // The job list, read once when the run begins.
  std::vector<std::u16string> jobPaths();
  void send(const char16_t* name, uint32_t first = 0, uint32_t second = 0, const char16_t* text = nullptr);

  // The core's reports, on the worker: each becomes an event.
  void started() override;
  void stepStarted(size_t total, size_t index, std::u16string_view fileName) override;
  void ended(const GalleryOutcome& outcome) override;

  thread::SyncRelay* events_;
  Hooks hooks_;
  thread::Owned<str::strarray::StrArray> jobList_;
  thread::ObjLocker jobLock_;
  std::atomic<uint8_t> running_{0};
  std::atomic<uint8_t> cancel_{0};
  // Set from a start until run() has sent its last event.
  std::atomic<uint8_t> inRun_{0};
  thread::Owned<Setting> setting_;
  GalleryCore core_;
  thread::Owned<thread::win::Thread> worker_;
  std::u16string pagePath_;  // guarded by jobLock_
};

}  // namespace s::image::gui::dialogs::pictorva
