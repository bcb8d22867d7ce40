#include "s/image/gui/dialogs/pictorva/AlbumJob.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "s/file/win/FileInputStream.h"
#include "s/image/ImageFormat.h"
#include "s/image/gui/dialogs/pictorva/PictureCopies.h"
#include "s/image/gui/dialogs/pictorva/SmallCopyJob.h"
#include "s/image/jpg/ExifDate.h"
#include "s/image/win/BufferedImage.h"
#include "s/str/Decimal.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::image::gui::dialogs::pictorva {

using col::_array::ArrayU08;
using thread::Owned;
using win::BufferedImage;
using win::BufferedImageSet;

namespace {

// Small copies are no wider than this many times their height: a panorama's copy
// is cut down in both directions beyond it, which the page cannot tell.
constexpr uint32_t kMaxSmallAspect = 16;

// Every frame of the animation resampled to width x height, with its timing.
Owned<BufferedImageSet> scaledFrames(const BufferedImageSet& frames, uint32_t width, uint32_t height) {
  Owned<BufferedImageSet> result(BufferedImageSet::create());
  for (int i = 0; i < frames.getCount(); ++i) {
    Owned<BufferedImage> frame = PictureCopies::scaled(*frames.getImage(i), width, height);
    if (!frame) return {};
    result->add(frame.detach(), frames.getDepth(i), frames.getDelay(i), frames.getDisposal(i));
  }
  result->setAnimation(true, frames.getLoopCount());
  result->recomputePrimarySize();
  return result;
}

std::u16string readTaken(file::win::PathWin& path) {
  Owned<file::win::FileInputStream> in(path.openInput());
  if (!in) return {};
  std::vector<uint8_t> head(jpg::ExifDate::kHeadBytes);
  size_t filled = 0;
  while (filled < head.size()) {
    size_t count = 0;
    if (!in->read(head.data() + filled, head.size() - filled, &count) || count == 0) break;
    filled += std::min(count, head.size() - filled);
  }
  return jpg::ExifDate::fromJpegHead(head.data(), filled);
}

bool sameExtension(std::u16string_view a, std::u16string_view b) { return str::strbuffer::StrBuffer(a).equalsIgnoreCase(b); }

}  // namespace

bool AlbumJob::browsersShow(std::u16string_view extension) {
  static constexpr std::u16string_view kShown[] = {u".jpg", u".png", u".gif", u".bmp", u".ico", u".webp", u".avif"};
  for (std::u16string_view shown : kShown) {
    if (sameExtension(extension, shown)) return true;
  }
  return false;
}

bool AlbumJob::accept(std::u16string_view entry) {
  source_ = file::win::PathWin::fromText(entry);
  fileName_ = std::u16string(source_->getFileName().view());
  accepted_ = SmallCopyJob::acceptsByName(*source_);
  return accepted_;
}

bool AlbumJob::open() {
  codec_ = decodeImageFile(source_.get());
  if (!codec_) return false;
  set_ = codec_->toImageSet(0);
  if (set_ && set_->isAnimated()) set_ = set_->composeFrames();
  if (!set_) {
    codec_.reset();
    return false;
  }
  sourceWidth_ = static_cast<uint32_t>(std::max(codec_->getWidth(), 0));
  sourceHeight_ = static_cast<uint32_t>(std::max(codec_->getHeight(), 0));
  shownFormat_ = browsersShow(codec_->getExtension());
  if (sameExtension(codec_->getExtension(), u".jpg")) taken_ = readTaken(*source_);
  // A still picture needs nothing of its codec beyond this point: its raster goes.
  if (!set_->isAnimated()) codec_.reset();
  opened_ = true;
  return true;
}

std::u16string AlbumJob::copyName(uint32_t width, uint32_t height, std::u16string_view extension) const {
  return PictureCopies::sizedName(source_->getTitle().view(), width, height, extension);
}

void AlbumJob::make(int rowHeight) {
  // A damaged file may decode to nothing: no copies of an empty picture.
  if (!set_ || set_->getCount() == 0 || set_->getWidth() <= 0 || set_->getHeight() <= 0 || rowHeight <= 0) {
    drop();
    return;
  }
  if (set_->isAnimated()) {
    makeAnimated(rowHeight);
  } else {
    makeStill(rowHeight);
  }
  drop();
}

void AlbumJob::makeStill(int rowHeight) {
  outcome_ = Outcome::kFailed;
  const BufferedImage* from = set_->getPrimary();
  const bool asPng = !PictureCopies::isOpaque(*from);
  PictureCopies::Encoding encoding;
  encoding.png = asPng;
  encoding.profile = set_->getColourProfile();
  const std::u16string_view extension = asPng ? u".png" : u".jpg";
  // Each size is made of the one above it; `made` holds the last one made, and once
  // there is one the decoded picture goes.
  Owned<BufferedImage> made;
  // Sizes are fitted from the picture's own size, not the rounded one above, into
  // boxes bounded by the copy above too: no copy is larger than what it is made of.
  const uint32_t width = static_cast<uint32_t>(from->getWidth());
  const uint32_t height = static_cast<uint32_t>(from->getHeight());
  uint32_t aboveWidth = width, aboveHeight = height;
  auto fitted = [&](uint32_t maxWidth, uint32_t maxHeight, uint32_t* fittedWidth, uint32_t* fittedHeight) {
    PictureCopies::fitInto(width, height, std::min(maxWidth, aboveWidth), std::min(maxHeight, aboveHeight), fittedWidth,
            fittedHeight);
    return *fittedWidth == aboveWidth && *fittedHeight == aboveHeight;
  };
  auto step = [&](AlbumCopy& copy, uint32_t fittedWidth, uint32_t fittedHeight, int quality) {
    Owned<BufferedImage> next = PictureCopies::scaled(*from, fittedWidth, fittedHeight);
    if (!next) return false;
    encoding.quality = quality;
    copy.bytes = PictureCopies::encode(*next, encoding);
    if (!copy.isMade()) return false;
    copy.name = copyName(fittedWidth, fittedHeight, extension);
    copy.width = aboveWidth = fittedWidth;
    copy.height = aboveHeight = fittedHeight;
    made = std::move(next);
    from = made.get();
    set_.reset();
    return true;
  };
  uint32_t fittedWidth = 0, fittedHeight = 0;
  if (width > kDisplayBox || height > kDisplayBox || !shownFormat_) {
    fitted(kDisplayBox, kDisplayBox, &fittedWidth, &fittedHeight);
    if (!step(display_, fittedWidth, fittedHeight, kDisplayQuality)) return;
  }
  const uint32_t row = static_cast<uint32_t>(rowHeight);
  // A copy that would come out at the size of the one above is that one.
  if (fitted(2 * row * kMaxSmallAspect, 2 * row, &fittedWidth, &fittedHeight) && display_.isMade()) {
    largeIsDisplay_ = true;
  } else if (!step(large_, fittedWidth, fittedHeight, kSmallQuality)) {
    return;
  }
  if (fitted(row * kMaxSmallAspect, row, &fittedWidth, &fittedHeight)) {
    if (large_.isMade()) {
      small_ = std::move(large_);
      large_ = AlbumCopy();
    } else {
      smallIsDisplay_ = true;
    }
  } else if (!step(small_, fittedWidth, fittedHeight, kSmallQuality)) {
    return;
  }
  outcome_ = Outcome::kMade;
}

void AlbumJob::makeAnimated(int rowHeight) {
  outcome_ = Outcome::kFailed;
  const std::u16string extension(codec_->getExtension());
  Owned<BufferedImageSet> made;
  const BufferedImageSet* from = set_.get();
  const uint32_t width = static_cast<uint32_t>(from->getWidth());
  const uint32_t height = static_cast<uint32_t>(from->getHeight());
  auto step = [&](AlbumCopy& copy, uint32_t maxWidth, uint32_t maxHeight) {
    uint32_t fittedWidth = 0, fittedHeight = 0;
    PictureCopies::fitInto(width, height, maxWidth, maxHeight, &fittedWidth, &fittedHeight);
    Owned<BufferedImageSet> next = scaledFrames(*from, fittedWidth, fittedHeight);
    if (!next) return false;
    // The animation's own format keeps it moving.
    next->setColourProfile(set_->getColourProfile());
    copy.bytes = PictureCopies::bytesOf(codec_->createLike(next.get()));
    if (!copy.isMade()) return false;
    copy.name = copyName(fittedWidth, fittedHeight, extension);
    copy.width = fittedWidth;
    copy.height = fittedHeight;
    made = std::move(next);
    from = made.get();
    return true;
  };
  const uint32_t row = static_cast<uint32_t>(rowHeight);
  if (!step(large_, 2 * row * kMaxSmallAspect, 2 * row)) return;
  uint32_t smallWidth = 0, smallHeight = 0;
  PictureCopies::fitInto(width, height, row * kMaxSmallAspect, row, &smallWidth, &smallHeight);
  if (smallWidth == large_.width && smallHeight == large_.height) {
    small_ = std::move(large_);
    large_ = AlbumCopy();
  } else if (!step(small_, row * kMaxSmallAspect, row)) {
    return;
  }
  outcome_ = Outcome::kMade;
}

void AlbumJob::drop() {
  set_.reset();
  codec_.reset();
}

}  // namespace s::image::gui::dialogs::pictorva
