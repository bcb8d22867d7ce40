#include "s/image/gui/dialogs/pictorva/SmallCopyJob.h"

#include "s/image/ImageFormat.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/win/BufferedImage.h"
#include "s/str/Decimal.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;
using str::decimal;
using thread::Owned;
using win::BufferedImageSet;

namespace {

constexpr std::u16string_view kPictureExtensions[] = {u".bmp", u".gif", u".jpg", u".jpeg", u".png", u".ico"};

std::u16string textOf(const str::strbuffer::StrBuffer& text) { return std::u16string(text.view()); }

}  // namespace

bool SmallCopyJob::acceptsByName(PathWin& path) {
  if (!path.exists() || !path.isFile()) return false;
  for (std::u16string_view extension : kPictureExtensions) {
    if (path.getExtension().equalsIgnoreCase(extension)) return true;
  }
  return false;
}

bool SmallCopyJob::accept(std::u16string_view entry) {
  source_.reset(PathWin::fromText(entry));
  fileName_ = textOf(source_->getFileName());
  accepted_ = acceptsByName(*source_);
  return accepted_;
}

bool SmallCopyJob::open() {
  codec_.reset(decodeImageFile(source_.get()));
  if (!codec_) return false;
  set_.reset(codec_->toImageSet(0));
  if (set_ && set_->isAnimated()) set_.reset(set_->composeFrames());
  if (!set_) {
    codec_.reset();
    return false;
  }
  sourceWidth_ = static_cast<uint32_t>(codec_->getWidth());
  sourceHeight_ = static_cast<uint32_t>(codec_->getHeight());
  opened_ = true;
  return true;
}

void SmallCopyJob::make(const util::Sizer& sizer) {
  BufferedImageSet& set = *set_;
  // A damaged file may decode to nothing: no small copy of an empty picture.
  if (set.getCount() == 0 || set.getWidth() <= 0 || set.getHeight() <= 0 || !sizer.isApplicable(0, set)) {
    drop();
    return;
  }
  for (int i = 0; i < set.getCount(); ++i) set.getImage(i)->addFilter(sizer.makeScaleFilter(0, set));
  set.recomputePrimarySize();
  // The small copy keeps the source's extension, whatever its content.
  smallName_ = textOf(source_->getTitle()) + u" (" + decimal(set.getWidth()) + u"x" + decimal(set.getHeight()) +
               u")" + textOf(source_->getExtension());
  // The encoder keeps its own copy of the scaled pictures; they go at once.
  Owned<IEncodedImage> small(codec_->createLike(&set));
  for (int i = 0; i < set.getCount(); ++i) set.getImage(i)->clearFilters();
  drop();
  if (!small) {
    outcome_ = Outcome::kMakeFailed;
    return;
  }
  bytes_.reset(col::_array::ArrayU08::create());
  outcome_ = small->write(*bytes_) ? Outcome::kEncoded : Outcome::kEncodeFailed;
  smallWidth_ = static_cast<uint32_t>(small->getWidth());
  smallHeight_ = static_cast<uint32_t>(small->getHeight());
}

void SmallCopyJob::drop() {
  set_.reset();
  codec_.reset();
}

}  // namespace s::image::gui::dialogs::pictorva
