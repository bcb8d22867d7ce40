// The passes of one gallery run, on the worker thread.
#include <algorithm>
#include <string>

#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/image/IEncodedImage.h"
#include "s/image/ImageFormat.h"
#include "s/image/bmp/win/PixelBudget.h"
#include "s/image/gui/dialogs/pictorva/AlbumJob.h"
#include "s/image/gui/dialogs/pictorva/AlbumPage.h"
#include "s/image/gui/dialogs/pictorva/GalleryEvent.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/io/Streams.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::FileOutputStream;
using file::win::PathWin;
using thread::Owned;

struct GalleryRun::Pass {
  Owned<PathWin> gallery;  // the gallery folder
  Owned<PathWin> smallFolder;  // its simg (Tile)
  size_t total = 0;        // job list entries when the run began
  GalleryRows rows;
  std::vector<AlbumPicture> album;  // Album
  std::u16string failures;  // each copy or page that could not be written, a line each

  void fail(std::u16string_view what, std::u16string_view path) {
    if (!failures.empty()) failures += u"\r\n";
    failures += what;
    failures += u" \"";
    failures += path;
    failures += u"\"";
  }
};

namespace {

// Jobs a helper may make beyond the one the worker takes next: room for a large
// picture to be slow while the others go on.
constexpr size_t kJobsAheadPerHelper = 4;
// Names tried for the gallery folder before giving up on a folder that keeps being
// taken by someone else between the test and the creation.
constexpr int kGalleryFolderAttempts = 1000;

Owned<PathWin> pathOf(std::u16string_view text) { return Owned<PathWin>(PathWin::fromText(text)); }

std::u16string textOf(const str::strbuffer::StrBuffer& text) { return std::u16string(text.view()); }

// Whether the path names something inside folder (a full path), as this system
// compares names.
bool liesInside(std::u16string_view path, const std::u16string& folder) {
  for (Owned<PathWin> at(pathOf(path));;) {
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

void GalleryRun::run() {
  send(kProcessStatusStart);
  Pass pass;
  pass.total = jobCount();
  std::u16string first;
  if (pass.total > 0 && jobEntry(0, &first)) {
    Owned<PathWin> firstPath = pathOf(first);
    Owned<PathWin> folder(firstPath->parent());
    Owned<PathWin> base(folder ? folder->child(u"thumbnail") : nullptr);
    if (base) pass.gallery = createGalleryFolder(*base);
    if (!pass.gallery) {
      pass.fail(u"Could not create the gallery folder", base ? base->getFullPath().view() : first);
    } else {
      if (setting_->style == Setting::kStyleFlat) {
        infoPass(pass);
      } else if (setting_->style == Setting::kStyleAlbum) {
        albumPass(pass);
      } else {
        scalePass(pass);
      }
      copyPass(pass);
      pagePass(pass);
    }
  }
  const bool failed = !pass.failures.empty();
  send(kProcessStatusEnd, failed ? kEndFailed : 0, 0, failed ? pass.failures.c_str() : nullptr);
  // A receiver releasing the run waits, pumping, for this.
  inRun_ = 0;
  if (events_) events_->wake();
}

void GalleryRun::scalePass(Pass& pass) {
  sizer_.reset();
  sizer_.mode = util::Sizer::kModeSingle;
  sizer_.absolute = true;
  sizer_.width = setting_->cellWidth;
  sizer_.height = setting_->cellHeight;
  sizer_.keepRatio = true;
  sizer_.limitPolicy = util::Sizer::kLimitShrink;  // never larger than the source
  sizer_.buildSizes();
  pass.smallFolder.reset(pass.gallery->child(u"simg"));

  const int jobs = this->jobs();
  if (jobs > 1 && pass.total > 1) {
    scaleAhead(pass, jobs);
  } else {
    scaleInTurn(pass);
  }
}

void GalleryRun::scaleInTurn(Pass& pass) {
  std::u16string entry;
  for (size_t i = 0; !cancel_ && jobEntry(i, &entry); ++i) {
    SmallCopyJob job;
    job.accept(entry);
    takeTurn(pass, job, i, false);
  }
}

void GalleryRun::takeTurn(Pass& pass, SmallCopyJob& job, size_t index, bool madeAhead) {
  if (!job.isPicture()) return;
  ensureSmallFolder(pass);
  if (!(madeAhead ? job.isOpened() : job.open())) return;
  // The cancel flag is looked at once more just before the file is announced.
  if (cancel_) return;
  send(kProcessStatusUpdate, static_cast<uint32_t>(pass.total), static_cast<uint32_t>(index), job.fileName().c_str());
  if (!madeAhead) job.make(sizer_);
  keepSmallCopy(pass, job);
}

void GalleryRun::scaleAhead(Pass& pass, int jobs) {
  const size_t limit = pixelBudget_.load();
  bmp::win::PixelBudget budget(limit > 0 ? limit : bmp::win::PixelBudget::defaultLimit());
  const std::u16string gallery = textOf(pass.gallery->getFullPath());
  auto make = [this, &budget, &gallery](size_t index, SmallCopyJob& job) {
    makeAhead(index, job, budget, gallery);
  };
  if (!helpers_.begin(jobs, pass.total, kJobsAheadPerHelper * static_cast<size_t>(jobs), make)) {
    scaleInTurn(pass);
    return;
  }
  for (size_t i = 0; i < pass.total && !cancel_; ++i) {
    std::unique_ptr<SmallCopyJob> job = helpers_.take(i);
    if (!job->isDeferred()) {
      takeTurn(pass, *job, i, true);
      continue;
    }
    std::u16string entry;
    if (!jobEntry(i, &entry)) continue;
    job->accept(entry);
    takeTurn(pass, *job, i, false);
  }
  // Nothing made ahead is used now: a helper waiting for memory gives up at once.
  budget.stop();
  helpers_.end();
}

void GalleryRun::makeAhead(size_t index, SmallCopyJob& job, bmp::win::PixelBudget& budget,
                           const std::u16string& gallery) {
  std::u16string entry;
  if (!jobEntry(index, &entry)) return;
  // A file inside the new gallery can only be one this run writes: it is looked at
  // in its turn, after the files before it are written.
  if (liesInside(entry, gallery)) {
    job.defer();
    return;
  }
  if (!job.accept(entry)) return;
  // The pixels of this picture count against the budget; the picture the worker
  // waits for never waits.
  bmp::win::PixelBudget::Scope charge(budget, index);
  // After a cancel, the work is dropped as soon as possible; the worker stops
  // before it would announce this file.
  if (cancel_ || !job.open()) return;
  if (cancel_) {
    job.drop();
    return;
  }
  job.make(sizer_);
}

void GalleryRun::ensureSmallFolder(Pass& pass) {
  if (!pass.smallFolder->exists()) pass.smallFolder->createDirectory(false);
}

void GalleryRun::keepSmallCopy(Pass& pass, SmallCopyJob& job) {
  using Outcome = SmallCopyJob::Outcome;
  if (job.outcome() == Outcome::kNone) return;
  Owned<PathWin> named(pass.smallFolder->child(job.smallName()));
  if (job.outcome() == Outcome::kMakeFailed) {
    pass.fail(u"Could not make the small copy", named->getFullPath().view());
    return;
  }
  Owned<PathWin> target(named->uniqueVariant());
  if (!target || job.outcome() != Outcome::kEncoded || !writeWhole(job.bytes(), *target)) {
    pass.fail(u"Could not write the small copy", (target ? *target : *named).getFullPath().view());
    return;
  }
  pass.rows.sourceNames.push_back(job.fileName());
  pass.rows.sourceWidths.push_back(job.sourceWidth());
  pass.rows.sourceHeights.push_back(job.sourceHeight());
  pass.rows.sourceSizes.push_back(static_cast<uint64_t>(job.source().getSize()));
  pass.rows.smallNames.push_back(textOf(target->getFileName()));
  pass.rows.smallWidths.push_back(job.smallWidth());
  pass.rows.smallHeights.push_back(job.smallHeight());
}

void GalleryRun::infoPass(Pass& pass) {
  std::u16string entry;
  for (size_t i = 0; !cancel_ && jobEntry(i, &entry); ++i) {
    Owned<PathWin> source = pathOf(entry);
    const std::u16string fileName = textOf(source->getFileName());
    send(kProcessStatusUpdate, static_cast<uint32_t>(pass.total), static_cast<uint32_t>(i), fileName.c_str());
    if (!SmallCopyJob::acceptsByName(*source)) continue;
    Owned<IEncodedImage> codec(decodeImageFile(source.get()));
    if (!codec) continue;
    pass.rows.sourceNames.push_back(fileName);
    pass.rows.sourceWidths.push_back(static_cast<uint32_t>(codec->getWidth()));
    pass.rows.sourceHeights.push_back(static_cast<uint32_t>(codec->getHeight()));
    pass.rows.sourceSizes.push_back(static_cast<uint64_t>(source->getSize()));
  }
}

void GalleryRun::albumPass(Pass& pass) {
  pass.smallFolder.reset(pass.gallery->child(u"simg"));
  const int rowHeight = std::clamp(setting_->rowHeight, Setting::kMinRowHeight, Setting::kMaxRowHeight);
  std::u16string entry;
  for (size_t i = 0; !cancel_ && jobEntry(i, &entry); ++i) {
    AlbumJob job;
    if (!job.accept(entry)) continue;
    ensureSmallFolder(pass);
    if (!job.open()) continue;
    // As in the scale pass, the cancel flag is looked at just before the announcement.
    if (cancel_) return;
    send(kProcessStatusUpdate, static_cast<uint32_t>(pass.total), static_cast<uint32_t>(i), job.fileName().c_str());
    job.make(rowHeight);
    keepAlbumCopies(pass, job);
  }
}

void GalleryRun::keepAlbumCopies(Pass& pass, AlbumJob& job) {
  if (job.outcome() == AlbumJob::Outcome::kNone) return;
  if (job.outcome() == AlbumJob::Outcome::kFailed) {
    pass.fail(u"Could not make the album copies of", job.source().getFullPath().view());
    return;
  }
  AlbumPicture picture;
  picture.fileName = job.fileName();
  picture.width = job.sourceWidth();
  picture.height = job.sourceHeight();
  picture.bytes = static_cast<uint64_t>(job.source().getSize());
  picture.taken = job.taken();
  picture.smallWidth = job.small().width;
  picture.smallHeight = job.small().height;
  // Largest first, so that the names follow the sizes whatever is taken already.
  const std::pair<AlbumCopy*, std::u16string*> copies[] = {
      {&job.display(), &picture.displayName}, {&job.large(), &picture.largeName}, {&job.small(), &picture.smallName}};
  for (const auto& [copy, name] : copies) {
    if (!copy->isMade()) continue;
    Owned<PathWin> named(pass.smallFolder->child(copy->name));
    Owned<PathWin> target(named->uniqueVariant());
    if (!target || !writeWhole(*copy->bytes, *target)) {
      // A picture without all its copies is left out of the page.
      pass.fail(u"Could not write the small copy", (target ? *target : *named).getFullPath().view());
      return;
    }
    *name = textOf(target->getFileName());
  }
  if (job.smallIsDisplay()) {
    picture.smallName = picture.displayName;
    picture.smallWidth = job.display().width;
    picture.smallHeight = job.display().height;
  } else if (job.largeIsDisplay()) {
    picture.largeName = picture.displayName;
  }
  pass.album.push_back(std::move(picture));
}

void GalleryRun::copyPass(Pass& pass) {
  Owned<PathWin> img(pass.gallery->child(u"img"));
  if (!img->exists()) img->createDirectory(false);
  std::u16string entry;
  for (size_t i = 0; jobEntry(i, &entry); ++i) {
    Owned<PathWin> source = pathOf(entry);
    // Files of the same name overwrite each other here: the later one wins.
    Owned<PathWin> target(img->child(source->getFileName().view()));
    if (!source->copyTo(target->getFullPath().view(), true)) pass.fail(u"Could not copy", entry);
  }
}

void GalleryRun::pagePass(Pass& pass) {
  const std::u16string_view title = setting_->title->view();
  Owned<str::strbuffer::StrBuffer> page;
  if (setting_->style == Setting::kStyleAlbum) {
    page = str::strbuffer::StrBuffer::of(AlbumPage::page(title, pass.album, setting_->rowHeight, albumWords_));
  } else if (setting_->style == Setting::kStyleFlat) {
    page = buildFlatPage(title, pass.rows);
  } else {
    page = buildTilePage(title, pass.rows, setting_->cellWidth);
  }
  const std::string bytes = page->toUtf8();
  Owned<PathWin> pageFile(pass.gallery->child(pageFileName(title)));
  {
    thread::ObjLocker::Scope lock(jobLock_);
    pagePath_ = textOf(pageFile->getFullPath());
  }
  // Under a temporary name first, so a failed write never leaves an empty or cut page.
  if (!pageFile->writeAllReplacing(bytes.data(), bytes.size())) {
    pass.fail(u"Could not write the page", pageFile->getFullPath().view());
  }
}

}  // namespace s::image::gui::dialogs::pictorva
