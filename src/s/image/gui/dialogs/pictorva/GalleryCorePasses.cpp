// The passes of one gallery, on the thread that makes it.
#include <algorithm>
#include <string>

#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/image/IEncodedImage.h"
#include "s/image/ImageFormat.h"
#include "s/image/bmp/win/PixelBudget.h"
#include "s/image/gui/dialogs/pictorva/AlbumJob.h"
#include "s/image/gui/dialogs/pictorva/AlbumPage.h"
#include "s/image/gui/dialogs/pictorva/DroppedFiles.h"
#include "s/image/gui/dialogs/pictorva/GalleryCore.h"
#include "s/image/gui/dialogs/pictorva/NameClaims.h"
#include "s/image/gui/dialogs/pictorva/PageWriter.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/io/Streams.h"
#include "s/lang/StatusTexts.h"
#include "s/str/strbuffer/Utf8.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::FileOutputStream;
using file::win::PathWin;
using thread::Owned;
using Texts = lang::StatusTexts;

struct GalleryCore::Pass {
  // The choices, as they were when the gallery began.
  int32_t style = Setting::kStyleTile;
  std::u16string title;
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  int32_t rowHeight = 0;
  const std::vector<std::u16string>& paths;
  IGalleryProgress& progress;
  const std::atomic<uint8_t>* cancel;

  Owned<PathWin> gallery;      // the gallery folder
  Owned<PathWin> smallFolder;  // its simg (Tile)
  Owned<PathWin> imgFolder;    // its img
  std::u16string galleryText;  // the gallery folder's path
  // The names in img: the dropped files' copies, by their place in paths, claimed in
  // drop order before anything else.
  NameClaims imgClaims;
  std::vector<std::u16string> imgNames;
  GalleryOutcome outcome;

  bool cancelled() const { return cancel && cancel->load() != 0; }

  void fail(int32_t what, std::u16string_view path) { outcome.failures.push_back({what, std::u16string(path)}); }
};

namespace {

// Jobs a helper may make beyond the one the calling thread takes next: room for a
// large picture to be slow while the others go on.
constexpr size_t kJobsAheadPerHelper = 4;
// Names tried for the gallery folder before giving up on a folder that keeps being
// taken by someone else between the test and the creation.
constexpr int kGalleryFolderAttempts = 1000;

// Whether the path names something inside folder (a full path), as this system
// compares names.
bool liesInside(std::u16string_view path, const std::u16string& folder) {
  for (Owned<PathWin> at(PathWin::fromText(path));;) {
    Owned<PathWin> up(at->getParentOrNone());
    // Each step up is shorter; anything else ends the walk.
    if (!up || up->getFullPath().length() >= at->getFullPath().length()) return false;
#ifdef _WIN32
    if (up->getFullPath().equalsIgnoreCase(folder)) return true;
#else
    if (up->getFullPath().view() == folder) return true;
#endif
    at = std::move(up);
  }
}

// Creates the gallery folder under the first free name (folder, folder (1), ...).
// Creating it at once, and taking the next name when someone else was quicker, means
// an existing gallery is never written into.
Owned<PathWin> createGalleryFolder(PathWin& base) {
  for (int attempt = 0; attempt < kGalleryFolderAttempts; ++attempt) {
    Owned<PathWin> candidate(base.uniqueVariant());
    if (!candidate) return {};
    if (candidate->createDirectory(false)) return candidate;
    if (!candidate->exists()) return {};  // not a race: the folder cannot be made
  }
  return {};
}

// Writes the encoded small copy into target; a copy that could not be written whole
// is not left behind.
bool writeWhole(const col::_array::ArrayU08& bytes, PathWin& target) {
  Owned<FileOutputStream> out(target.openOutput(false));
  bool written = out && io::Streams::writeFully(*out, bytes.data(), bytes.getCount());
  written = out && out->close() && written;
  if (!written) target.remove(false);
  return written;
}

}  // namespace

GalleryOutcome GalleryCore::make(const Setting& setting, const std::vector<std::u16string>& dropped,
                                 IGalleryProgress& progress, const std::atomic<uint8_t>* cancel) {
  progress.started();
  // Dropped folders give the pictures inside them.
  const DroppedFiles files = DroppedFiles::of(dropped);
  const std::vector<std::u16string>& paths = files.files;
  Pass pass{setting.style, std::u16string(setting.title->view()), setting.cellWidth, setting.cellHeight,
            std::clamp(setting.rowHeight, Setting::kMinRowHeight, Setting::kMaxRowHeight), paths, progress, cancel};
  for (const std::u16string& folder : files.foldersWithoutPictures) {
    pass.outcome.unreadable.push_back({folder, UnreadablePicture::Reason::kNoPicturesInFolder});
  }
  if (!dropped.empty()) {
    // The gallery goes beside the first thing dropped, a folder too.
    Owned<PathWin> firstPath = PathWin::fromText(dropped.front());
    Owned<PathWin> folder(firstPath->parent());
    Owned<PathWin> base(folder ? folder->child(u"thumbnail") : nullptr);
    if (base) pass.gallery = createGalleryFolder(*base);
    if (!pass.gallery) {
      pass.fail(Texts::kCouldNotCreateFolder, base ? base->getFullPath().view() : dropped.front());
    } else {
      pass.galleryText = std::u16string(pass.gallery->getFullPath().view());
      pass.imgFolder = pass.gallery->child(u"img");
      pass.outcome.folder = pass.galleryText;
      pass.imgNames.reserve(paths.size());
      for (const std::u16string& path : paths) {
        pass.imgNames.push_back(pass.imgClaims.claim(PathWin::fromText(path)->getFileName().view()));
      }
      if (pass.style == Setting::kStyleFlat) {
        infoPass(pass);
      } else if (pass.style == Setting::kStyleAlbum) {
        albumPass(pass);
      } else {
        scalePass(pass);
      }
      pass.outcome.cancelled = pass.cancelled();
      copyPass(pass);
      pagePass(pass);
    }
  }
  progress.ended(pass.outcome);
  return std::move(pass.outcome);
}

void GalleryCore::scalePass(Pass& pass) {
  sizer_.reset();
  sizer_.mode = util::Sizer::kModeSingle;
  sizer_.absolute = true;
  sizer_.width = pass.cellWidth;
  sizer_.height = pass.cellHeight;
  sizer_.keepRatio = true;
  sizer_.limitPolicy = util::Sizer::kLimitShrink;  // never larger than the source
  sizer_.buildSizes();
  pass.smallFolder.reset(pass.gallery->child(u"simg"));

  const int jobs = this->jobs();
  if (jobs > 1 && pass.paths.size() > 1) {
    scaleAhead(pass, jobs);
  } else {
    scaleInTurn(pass);
  }
}

void GalleryCore::scaleInTurn(Pass& pass) {
  for (size_t i = 0; i < pass.paths.size() && !pass.cancelled(); ++i) {
    SmallCopyJob job;
    job.accept(pass.paths[i]);
    takeTurn(pass, job, i, false);
  }
}

void GalleryCore::takeTurn(Pass& pass, SmallCopyJob& job, size_t index, bool madeAhead) {
  if (!job.isPicture()) return;
  ++pass.outcome.pictures;
  if (!pass.smallFolder->exists()) pass.smallFolder->createDirectory(false);
  if (!(madeAhead ? job.isOpened() : job.open())) return;
  // The cancel flag is looked at once more just before the file is announced.
  if (pass.cancelled()) return;
  pass.progress.stepStarted(pass.paths.size(), index, job.fileName());
  if (!madeAhead) job.make(sizer_);
  keepSmallCopy(pass, job, index);
}

void GalleryCore::scaleAhead(Pass& pass, int jobs) {
  const size_t limit = pixelBudget_.load();
  bmp::win::PixelBudget budget(limit > 0 ? limit : bmp::win::PixelBudget::defaultLimit());
  auto make = [this, &pass, &budget](size_t index, SmallCopyJob& job) { makeAhead(pass, index, job, budget); };
  if (!helpers_.begin(jobs, pass.paths.size(), kJobsAheadPerHelper * static_cast<size_t>(jobs), make)) {
    scaleInTurn(pass);
    return;
  }
  for (size_t i = 0; i < pass.paths.size() && !pass.cancelled(); ++i) {
    std::unique_ptr<SmallCopyJob> job = helpers_.take(i);
    if (!job->isDeferred()) {
      takeTurn(pass, *job, i, true);
      continue;
    }
    job->accept(pass.paths[i]);
    takeTurn(pass, *job, i, false);
  }
  // Nothing made ahead is used now: a helper waiting for memory gives up at once.
  budget.stop();
  helpers_.end();
}

void GalleryCore::makeAhead(const Pass& pass, size_t index, SmallCopyJob& job, bmp::win::PixelBudget& budget) {
  const std::u16string& entry = pass.paths[index];
  // A file inside the new gallery can only be one this gallery writes: it is looked
  // at in its turn, after the files before it are written.
  if (liesInside(entry, pass.galleryText)) {
    job.defer();
    return;
  }
  if (!job.accept(entry)) return;
  // The pixels of this picture count against the budget; the picture the calling
  // thread waits for never waits.
  bmp::win::PixelBudget::Scope charge(budget, index);
  // After a cancel, the work is dropped as soon as possible; the calling thread stops
  // before it would announce this file.
  if (pass.cancelled() || !job.open()) return;
  if (pass.cancelled()) {
    job.drop();
    return;
  }
  job.make(sizer_);
}

void GalleryCore::keepSmallCopy(Pass& pass, SmallCopyJob& job, size_t index) {
  using Outcome = SmallCopyJob::Outcome;
  if (job.outcome() == Outcome::kNone) return;
  Owned<PathWin> named(pass.smallFolder->child(job.smallName()));
  if (job.outcome() == Outcome::kMakeFailed) {
    pass.fail(Texts::kCouldNotMakeSmallCopy, named->getFullPath().view());
    return;
  }
  Owned<PathWin> target(named->uniqueVariant());
  if (!target || job.outcome() != Outcome::kEncoded || !writeWhole(job.bytes(), *target)) {
    pass.fail(Texts::kCouldNotWriteSmallCopy, (target ? *target : *named).getFullPath().view());
    return;
  }
  GalleryRow& row = pass.outcome.rows.emplace_back();
  row.sourceName = job.fileName();
  row.imgName = keepBrowserCopy(pass, job, index);
  row.sourceWidth = job.sourceWidth();
  row.sourceHeight = job.sourceHeight();
  row.sourceSize = static_cast<uint64_t>(job.source().getSize());
  row.smallName = std::u16string(target->getFileName().view());
  row.smallWidth = job.smallWidth();
  row.smallHeight = job.smallHeight();
}

std::u16string GalleryCore::keepBrowserCopy(Pass& pass, SmallCopyJob& job, size_t index) {
  if (!job.needsBrowserCopy()) return pass.imgNames[index];
  const col::_array::ArrayU08* bytes = job.browserBytes();
  if (!bytes) {
    pass.fail(Texts::kCouldNotMakeBrowserCopy, job.source().getFullPath().view());
    return pass.imgNames[index];
  }
  // Browser copies take their names after every dropped file has its own.
  const std::u16string name = pass.imgClaims.claim(job.browserName());
  if (!pass.imgFolder->exists()) pass.imgFolder->createDirectory(false);
  Owned<PathWin> target(pass.imgFolder->child(name));
  if (!writeWhole(*bytes, *target)) {
    pass.fail(Texts::kCouldNotWriteBrowserCopy, target->getFullPath().view());
    return pass.imgNames[index];
  }
  return name;
}

void GalleryCore::infoPass(Pass& pass) {
  for (size_t i = 0; i < pass.paths.size() && !pass.cancelled(); ++i) {
    Owned<PathWin> source = PathWin::fromText(pass.paths[i]);
    const std::u16string fileName = std::u16string(source->getFileName().view());
    pass.progress.stepStarted(pass.paths.size(), i, fileName);
    if (!SmallCopyJob::acceptsByName(*source)) continue;
    ++pass.outcome.pictures;
    Owned<IEncodedImage> codec(decodeImageFile(source.get()));
    if (!codec) continue;
    GalleryRow row;
    row.sourceName = fileName;
    row.imgName = pass.imgNames[i];
    row.sourceWidth = static_cast<uint32_t>(codec->getWidth());
    row.sourceHeight = static_cast<uint32_t>(codec->getHeight());
    row.sourceSize = static_cast<uint64_t>(source->getSize());
    // A format browsers do not show: the page shows its browser copy.
    SmallCopyJob job;
    job.accept(pass.paths[i]);
    if (job.open(std::move(codec)) && job.needsBrowserCopy()) {
      job.make(sizer_, false);
      row.imgName = keepBrowserCopy(pass, job, i);
    }
    pass.outcome.rows.push_back(std::move(row));
  }
}

void GalleryCore::albumPass(Pass& pass) {
  pass.smallFolder.reset(pass.gallery->child(u"simg"));
  for (size_t i = 0; i < pass.paths.size() && !pass.cancelled(); ++i) {
    AlbumJob job;
    if (!job.accept(pass.paths[i])) continue;
    ++pass.outcome.pictures;
    if (!pass.smallFolder->exists()) pass.smallFolder->createDirectory(false);
    if (!job.open()) continue;
    // As in the scale pass, the cancel flag is looked at just before the report.
    if (pass.cancelled()) return;
    pass.progress.stepStarted(pass.paths.size(), i, job.fileName());
    job.make(pass.rowHeight);
    keepAlbumCopies(pass, job, i);
  }
}

void GalleryCore::keepAlbumCopies(Pass& pass, AlbumJob& job, size_t index) {
  if (job.outcome() == AlbumJob::Outcome::kNone) return;
  if (job.outcome() == AlbumJob::Outcome::kFailed) {
    pass.fail(Texts::kCouldNotMakeAlbumCopies, job.source().getFullPath().view());
    return;
  }
  GalleryRow row;
  row.sourceName = job.fileName();
  row.imgName = pass.imgNames[index];
  row.sourceWidth = job.sourceWidth();
  row.sourceHeight = job.sourceHeight();
  row.sourceSize = static_cast<uint64_t>(job.source().getSize());
  row.taken = job.taken();
  row.smallWidth = job.small().width;
  row.smallHeight = job.small().height;
  // Largest first, so that the names follow the sizes whatever is taken already.
  const std::pair<AlbumCopy*, std::u16string*> copies[] = {
      {&job.display(), &row.displayName}, {&job.large(), &row.largeName}, {&job.small(), &row.smallName}};
  for (const auto& [copy, name] : copies) {
    if (!copy->isMade()) continue;
    Owned<PathWin> named(pass.smallFolder->child(copy->name));
    Owned<PathWin> target(named->uniqueVariant());
    if (!target || !writeWhole(*copy->bytes, *target)) {
      // A picture without all its copies is left out of the page.
      pass.fail(Texts::kCouldNotWriteSmallCopy, (target ? *target : *named).getFullPath().view());
      return;
    }
    *name = std::u16string(target->getFileName().view());
  }
  if (job.smallIsDisplay()) {
    row.smallName = row.displayName;
    row.smallWidth = job.display().width;
    row.smallHeight = job.display().height;
  } else if (job.largeIsDisplay()) {
    row.largeName = row.displayName;
  }
  pass.outcome.rows.push_back(std::move(row));
}

void GalleryCore::copyPass(Pass& pass) {
  PathWin* img = pass.imgFolder.get();
  if (!img->exists()) img->createDirectory(false);
  for (size_t i = 0; i < pass.paths.size(); ++i) {
    // Each file under the name it claimed: files of one name never overwrite each other.
    Owned<PathWin> target(img->child(pass.imgNames[i]));
    if (!PathWin::fromText(pass.paths[i])->copyTo(target->getFullPath().view(), true)) pass.fail(Texts::kCouldNotCopy, pass.paths[i]);
  }
}

void GalleryCore::pagePass(Pass& pass) {
  std::u16string page;
  if (pass.style == Setting::kStyleAlbum) {
    page = AlbumPage::page(pass.title, pass.outcome.rows, pass.rowHeight, albumWords_);
  } else if (pass.style == Setting::kStyleFlat) {
    page = PageWriter::buildFlatPage(pass.title, pass.outcome.rows);
  } else {
    page = PageWriter::buildTilePage(pass.title, pass.outcome.rows, pass.cellWidth);
  }
  const std::string bytes = str::strbuffer::toUtf8(page);
  Owned<PathWin> pageFile(pass.gallery->child(pageFileName(pass.title)));
  pass.outcome.pagePath = std::u16string(pageFile->getFullPath().view());
  // Under a temporary name first, so a failed write never leaves an empty or cut page.
  if (!pageFile->writeAllReplacing(bytes.data(), bytes.size())) {
    pass.fail(Texts::kCouldNotWritePage, pageFile->getFullPath().view());
  }
}

}  // namespace s::image::gui::dialogs::pictorva
