#pragma once
// The gallery itself: turns a list of files into a gallery folder beside the first of
// them ("thumbnail", or "thumbnail (n)" when taken) with a copy of every file in
// "img", small copies of the pictures in "simg" (Tile style; an album also its
// display copies, AlbumJob), and one HTML page named after the title. It knows nothing of windows: it takes the choices and the paths as
// values, runs on the calling thread (with helper threads of its own for the small
// copies), reports through one progress interface and looks at a cancel flag between
// files. The window's GalleryRun and `pictorva-cli gallery` both make galleries here.
//
// The passes, in order: the gallery folder is named and made; the scale pass makes a
// small copy of each picture (Tile), the info pass reads each picture's size (Flat),
// or the album pass makes each picture's copies (Album); the copy pass copies every
// file into img; the page pass writes the page.
// A cancel stops the scale or info pass at the next file; the copy and page passes
// still run, so a cancelled gallery lists what was made.
//
// Several jobs (setJobs): helper threads decode, scale and encode the pictures into
// memory ahead of the calling thread, within a budget of pixel memory, and the
// calling thread takes them in file order and does for each exactly what it does with
// one job. Progress, rows, names and page bytes are the same whatever the number of
// jobs; a cancel stops at the same file, and what was made ahead is dropped without
// writing anything.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/AlbumWords.h"
#include "s/image/gui/dialogs/pictorva/IGalleryProgress.h"
#include "s/image/gui/dialogs/pictorva/ScaleHelpers.h"
#include "s/image/util/Sizer.h"

namespace s::image::bmp::win {
class PixelBudget;
}

namespace s::image::gui::dialogs::pictorva {

class AlbumJob;
class Setting;

class GalleryCore {
 public:
  static constexpr int kMaxJobs = 16;
  // The language pack's text for a refused output folder.
  static constexpr int kTextOutputFolderRefused = 608299;

  // helperPriority: the priority of the helper threads (-1 below normal, 0 normal).
  explicit GalleryCore(int helperPriority);
  GalleryCore(const GalleryCore&) = delete;
  GalleryCore& operator=(const GalleryCore&) = delete;

  // Makes the gallery of paths with the choices of setting (read once, at the start).
  // cancel, when given, is looked at between files.
  GalleryOutcome make(const Setting& setting, const std::vector<std::u16string>& paths, IGalleryProgress& progress,
                      const std::atomic<uint8_t>* cancel = nullptr);

  // Pictures made at once: 1 makes each in turn; 0 (the default) is defaultJobs().
  // Clamped to kMaxJobs.
  void setJobs(int jobs);
  int jobs() const;
  // The number of cores, at most kMaxJobs.
  static int defaultJobs();
  // The most pixel memory the pictures made at once may hold; 0 (the default) is
  // PixelBudget::defaultLimit(). One picture alone may always exceed it.
  void setPixelBudget(size_t bytes) { pixelBudget_ = bytes; }
  // The words an album page shows, in the caller's language (English unless set).
  void setAlbumWords(AlbumWords words) { albumWords_ = std::move(words); }

  // Whether a gallery beside firstPath can be made: its folder exists and this process
  // may write it, or it can be made in a writable parent. *folder: the folder's path.
  static bool outputFolderAccepts(std::u16string_view firstPath, std::u16string* folder);
  // What to show when it cannot: text (the language pack's, or the built-in English
  // one when that is empty), then the folder in quotes on a line of its own.
  static std::u16string outputFolderMessage(std::u16string_view text, std::u16string_view folder);
  // The page's file name for a title: characters that no file name may hold become
  // '_' (on Windows also a leading device name such as CON gets a '_'), so a title
  // can never place the page outside the gallery folder.
  static std::u16string pageFileName(std::u16string_view title);

 private:
  struct Pass;  // the state of one gallery

  void scalePass(Pass& pass);
  // Each file in turn: opened, announced, made and written before the next is looked at.
  void scaleInTurn(Pass& pass);
  // The files made ahead by the helpers, taken in order.
  void scaleAhead(Pass& pass, int jobs);
  // On a helper thread.
  void makeAhead(const Pass& pass, size_t index, SmallCopyJob& job, bmp::win::PixelBudget& budget);
  // What the calling thread does with an accepted file in its turn (with a job made
  // ahead, the opening and making are done): the small folder, the progress report,
  // the small copy's file and the row.
  void takeTurn(Pass& pass, SmallCopyJob& job, size_t index, bool madeAhead);
  void keepSmallCopy(Pass& pass, SmallCopyJob& job, size_t index);
  // Writes the job's browser copy into img when its format needs one; the name in img
  // the page links to for file index (the browser copy's, or the file's own copy's).
  std::u16string keepBrowserCopy(Pass& pass, SmallCopyJob& job, size_t index);
  void infoPass(Pass& pass);
  // Album: each picture's copies in "simg", made in turn.
  void albumPass(Pass& pass);
  void keepAlbumCopies(Pass& pass, AlbumJob& job, size_t index);
  void copyPass(Pass& pass);
  void pagePass(Pass& pass);

  std::atomic<int> jobs_{0};
  std::atomic<size_t> pixelBudget_{0};
  util::Sizer sizer_;
  ScaleHelpers helpers_;
  AlbumWords albumWords_;
};

}  // namespace s::image::gui::dialogs::pictorva
