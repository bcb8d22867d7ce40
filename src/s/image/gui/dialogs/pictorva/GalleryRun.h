#pragma once
// The gallery run: turns a list of dropped files into a gallery folder beside the
// first of them ("thumbnail", or "thumbnail (n)" when taken) with a copy of every
// file in "img", small copies of the pictures in "simg" (Tile and Album styles; an
// album also its display copies, AlbumJob), and one HTML page named after the title.
//
// Threads. start(), cancel() and finish() belong to the receiving thread (the
// window's, or the command line's main thread). The run itself executes on the
// run's own worker thread, at below-normal priority, and reports through the relay:
// "ProcessStatusStart", one "ProcessStatusUpdate" per file, "ProcessStatusEnd".
// Each send waits until the receiver has handled the event; the worker never holds
// the job lock while it sends. When the receiver has handled the end event it calls
// finish(), which empties the job list and accepts the next start.
//
// Releasing the run (or waitIdle) cancels nothing by itself but waits for the worker;
// on the receiving thread it handles the worker's events while it waits, since the
// worker may be waiting for that very thread, so a release from any thread cannot
// deadlock. The relay must outlive the run.
//
// The scale pass may make several pictures at once (setJobs): helper threads of
// the run decode, scale and encode them into memory ahead of the worker, within a
// budget of pixel memory, and the worker takes them in file order and does for each
// exactly what it does with one thread. Events, rows, names and page bytes are the
// same whatever the number of jobs; a cancel stops at the same file, and what was
// made ahead is dropped without writing anything.
//
// The window and the command line drive the same object; only the hooks differ.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/AlbumWords.h"
#include "s/image/gui/dialogs/pictorva/GalleryPage.h"
#include "s/image/gui/dialogs/pictorva/ScaleHelpers.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/image/util/Sizer.h"
#include "s/str/strarray/StrArray.h"
#include "s/thread/ITask.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Owned.h"
#include "s/thread/SyncRelay.h"
#include "s/thread/win/Thread.h"

namespace s::file::win {
class PathWin;
}
namespace s::image::bmp::win {
class PixelBudget;
}
namespace s::image::gui::dialogs::pictorva {
class AlbumJob;
}

namespace s::image::gui::dialogs::pictorva {

class GalleryRun final : public thread::ITask {
 public:
  struct Hooks {
    // Fills the setting just before a run (the window reads its fields here). The
    // setting has been reset when it is called.
    std::function<void(Setting& setting)> apply;
    // Shows why a start was refused (a message box, or a line on the console).
    std::function<void(std::u16string_view message)> showMessage;
    // A text of the language pack by id; empty when the pack has none.
    std::function<std::u16string(int id)> languageText;
    // The language pack's tag ("eng", "jpn"), for an album page's words.
    std::function<std::u16string()> languageTag;
  };

  enum class StartResult { kStarted, kEmptyList, kBusy, kFolderRefused, kNoWorker };

  static constexpr int kTextOutputFolderRefused = 608299;
  static constexpr int kMaxJobs = 16;

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

  // Pictures the scale pass makes at once, from the next start on: 1 makes each in
  // turn on the worker; 0 (the default) is defaultJobs(). Clamped to kMaxJobs.
  void setJobs(int jobs);
  int jobs() const;
  // The number of cores, at most kMaxJobs.
  static int defaultJobs();
  // The most pixel memory the pictures made at once may hold; 0 (the default) is
  // PixelBudget::defaultLimit(). One picture alone may always exceed it.
  void setPixelBudget(size_t bytes) { pixelBudget_ = bytes; }

  const Setting& setting() const { return *setting_; }
  // The page of the last run, set before its end event.
  std::u16string pagePath();

  // The run, on the worker thread.
  void run() override;

  // The text shown when the output folder of a start cannot be written.
  std::u16string outputFolderMessage(std::u16string_view folder) const;
  // The page's file name for a title: characters that no file name may hold become
  // '_' (on Windows also a leading device name such as CON gets a '_'), so a title
  // can never place the page outside the gallery folder.
  static std::u16string pageFileName(std::u16string_view title);

 private:
  struct Pass;  // the state of one run, kept off the object

  bool outputFolderAccepts(std::u16string_view firstPath, std::u16string* folder) const;
  bool jobEntry(size_t index, std::u16string* entry);
  size_t jobCount();
  void send(const char16_t* name, uint32_t first = 0, uint32_t second = 0, const char16_t* text = nullptr);

  void scalePass(Pass& pass);
  // Each file in turn on the worker: opened, announced, made and written before the
  // next is looked at.
  void scaleInTurn(Pass& pass);
  // The files made ahead by the helpers, taken in order.
  void scaleAhead(Pass& pass, int jobs);
  // On a helper thread.
  void makeAhead(size_t index, SmallCopyJob& job, bmp::win::PixelBudget& budget, const std::u16string& gallery);
  // What the worker does with an accepted file in its turn (with a job made ahead,
  // the opening and making are done): the small folder, the progress event, the
  // small copy's file and the row.
  void takeTurn(Pass& pass, SmallCopyJob& job, size_t index, bool madeAhead);
  void ensureSmallFolder(Pass& pass);
  void keepSmallCopy(Pass& pass, SmallCopyJob& job);
  void infoPass(Pass& pass);
  // Album: each picture's copies in "simg", made in turn.
  void albumPass(Pass& pass);
  void keepAlbumCopies(Pass& pass, AlbumJob& job);
  void copyPass(Pass& pass);
  void pagePass(Pass& pass);

  thread::SyncRelay* events_;
  Hooks hooks_;
  thread::Owned<str::strarray::StrArray> jobList_;
  thread::ObjLocker jobLock_;
  std::atomic<uint8_t> running_{0};
  std::atomic<uint8_t> cancel_{0};
  // Set from a start until run() has sent its last event.
  std::atomic<uint8_t> inRun_{0};
  std::atomic<int> jobs_{0};
  std::atomic<size_t> pixelBudget_{0};
  thread::Owned<Setting> setting_;
  util::Sizer sizer_;
  thread::Owned<thread::win::Thread> worker_;
  ScaleHelpers helpers_;
  std::u16string pagePath_;  // guarded by jobLock_
  AlbumWords albumWords_;    // set by a start, for the run it starts
};

}  // namespace s::image::gui::dialogs::pictorva
