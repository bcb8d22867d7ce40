// The passes of one gallery run, on the worker thread.
#include <string>

#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/image/IEncodedImage.h"
#include "s/image/ImageFormat.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/gui/dialogs/pictorva/GalleryEvent.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::FileOutputStream;
using file::win::PathWin;
using thread::Owned;
using win::BufferedImageSet;

struct GalleryRun::Pass {
  Owned<PathWin> gallery;  // the gallery folder
  size_t total = 0;        // job list entries when the run began
  GalleryRows rows;
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

constexpr std::u16string_view kPictureExtensions[] = {u".bmp", u".gif", u".jpg", u".jpeg", u".png", u".ico"};
// Names tried for the gallery folder before giving up on a folder that keeps being
// taken by someone else between the test and the creation.
constexpr int kGalleryFolderAttempts = 1000;

Owned<PathWin> pathOf(std::u16string_view text) { return Owned<PathWin>(PathWin::fromText(text)); }

std::u16string textOf(const str::strbuffer::StrBuffer& text) { return std::u16string(text.view()); }

std::u16string decimal(int value) {
  str::strbuffer::StrBuffer text;
  text.appendInt32(value);
  return std::u16string(text.view());
}

// Source acceptance by name: an existing file with a picture extension.
bool acceptsByName(PathWin& source) {
  if (!source.exists() || !source.isFile()) return false;
  for (std::u16string_view extension : kPictureExtensions) {
    if (source.getExtension().equalsIgnoreCase(extension)) return true;
  }
  return false;
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

// Writes the small copy into target; a copy that could not be written whole is not
// left behind.
bool writeWhole(IEncodedImage& small, PathWin& target) {
  Owned<FileOutputStream> out(target.openOutput(false));
  bool written = out && small.write(*out);
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

  std::u16string entry;
  for (size_t i = 0; !cancel_ && jobEntry(i, &entry); ++i) {
    Owned<PathWin> source = pathOf(entry);
    if (!acceptsByName(*source)) continue;
    makeSmallCopy(pass, *source, i);
  }
}

bool GalleryRun::makeSmallCopy(Pass& pass, PathWin& source, size_t index) {
  Owned<PathWin> simg(pass.gallery->child(u"simg"));
  if (!simg->exists()) simg->createDirectory(false);

  Owned<IEncodedImage> codec(decodeImageFile(&source));
  if (!codec) return false;
  Owned<BufferedImageSet> set(codec->toImageSet(0));
  if (!set) return false;
  if (set->isAnimated()) {
    Owned<BufferedImageSet> composed(set->composeFrames());
    set = std::move(composed);
    if (!set) return false;
  }
  if (cancel_) return false;
  const std::u16string fileName = textOf(source.getFileName());
  send(kProcessStatusUpdate, static_cast<uint32_t>(pass.total), static_cast<uint32_t>(index), fileName.c_str());

  // A damaged file may decode to nothing: no small copy of an empty picture.
  if (set->getCount() == 0 || set->getWidth() <= 0 || set->getHeight() <= 0 || !sizer_.isApplicable(0, *set)) {
    return false;
  }
  for (int i = 0; i < set->getCount(); ++i) set->getImage(i)->addFilter(sizer_.makeScaleFilter(0, *set));
  set->recomputePrimarySize();

  // The small copy keeps the source's extension, whatever its content.
  const std::u16string name = textOf(source.getTitle()) + u" (" + decimal(set->getWidth()) + u"x" +
                              decimal(set->getHeight()) + u")" + textOf(source.getExtension());
  Owned<PathWin> named(simg->child(name));
  // The encoder keeps its own copy of the scaled pictures; they go at once.
  Owned<IEncodedImage> small(codec->createLike(set.get()));
  for (int i = 0; i < set->getCount(); ++i) set->getImage(i)->clearFilters();
  if (!small) {
    pass.fail(u"Could not make the small copy", named->getFullPath().view());
    return false;
  }
  Owned<PathWin> target(named->uniqueVariant());
  if (!target || !writeWhole(*small, *target)) {
    pass.fail(u"Could not write the small copy", (target ? *target : *named).getFullPath().view());
    return false;
  }
  pass.rows.sourceNames.push_back(fileName);
  pass.rows.sourceWidths.push_back(static_cast<uint32_t>(codec->getWidth()));
  pass.rows.sourceHeights.push_back(static_cast<uint32_t>(codec->getHeight()));
  pass.rows.sourceSizes.push_back(static_cast<uint64_t>(source.getSize()));
  pass.rows.smallNames.push_back(textOf(target->getFileName()));
  pass.rows.smallWidths.push_back(static_cast<uint32_t>(small->getWidth()));
  pass.rows.smallHeights.push_back(static_cast<uint32_t>(small->getHeight()));
  return true;
}

void GalleryRun::infoPass(Pass& pass) {
  std::u16string entry;
  for (size_t i = 0; !cancel_ && jobEntry(i, &entry); ++i) {
    Owned<PathWin> source = pathOf(entry);
    const std::u16string fileName = textOf(source->getFileName());
    send(kProcessStatusUpdate, static_cast<uint32_t>(pass.total), static_cast<uint32_t>(i), fileName.c_str());
    if (!acceptsByName(*source)) continue;
    Owned<IEncodedImage> codec(decodeImageFile(source.get()));
    if (!codec) continue;
    pass.rows.sourceNames.push_back(fileName);
    pass.rows.sourceWidths.push_back(static_cast<uint32_t>(codec->getWidth()));
    pass.rows.sourceHeights.push_back(static_cast<uint32_t>(codec->getHeight()));
    pass.rows.sourceSizes.push_back(static_cast<uint64_t>(source->getSize()));
  }
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
  Owned<str::strbuffer::StrBuffer> page = setting_->style == Setting::kStyleFlat
                                              ? buildFlatPage(title, pass.rows)
                                              : buildTilePage(title, pass.rows, setting_->cellWidth);
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
