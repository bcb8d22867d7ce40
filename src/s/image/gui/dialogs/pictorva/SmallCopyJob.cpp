#include "s/image/gui/dialogs/pictorva/SmallCopyJob.h"

#include "s/image/ImageFormat.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/gui/dialogs/pictorva/PictureCopies.h"
#include "s/image/win/BufferedImage.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::image::gui::dialogs::pictorva {

using file::win::PathWin;
using thread::Owned;
using win::BufferedImage;
using win::BufferedImageSet;

namespace {

constexpr std::u16string_view kPictureExtensions[] = {u".bmp", u".gif",  u".jpg",  u".jpeg", u".png", u".ico",
                                                      u".heic", u".heif", u".avif", u".webp", u".tif", u".tiff"};
// The formats (by their codec's extension) written as JPEG or PNG, with a browser copy.
constexpr std::u16string_view kReencodedFormats[] = {u".heic", u".avif", u".tif"};

}  // namespace

bool SmallCopyJob::acceptsByName(PathWin& path) {
  if (!path.exists() || !path.isFile()) return false;
  for (std::u16string_view extension : kPictureExtensions) {
    if (path.getExtension().equalsIgnoreCase(extension)) return true;
  }
  return false;
}

bool SmallCopyJob::accept(std::u16string_view entry) {
  source_ = PathWin::fromText(entry);
  fileName_ = std::u16string(source_->getFileName().view());
  accepted_ = acceptsByName(*source_);
  return accepted_;
}

bool SmallCopyJob::open() { return open(decodeImageFile(source_.get())); }

bool SmallCopyJob::open(Owned<IEncodedImage> codec) {
  codec_ = std::move(codec);
  if (!codec_) return false;
  set_ = codec_->toImageSet(0);
  if (set_ && set_->isAnimated()) set_ = set_->composeFrames();
  if (!set_) {
    codec_.reset();
    return false;
  }
  const std::u16string_view format = codec_->getExtension();
  for (std::u16string_view reencoded : kReencodedFormats) needsBrowserCopy_ = needsBrowserCopy_ || format == reencoded;
  sourceWidth_ = static_cast<uint32_t>(codec_->getWidth());
  sourceHeight_ = static_cast<uint32_t>(codec_->getHeight());
  opened_ = true;
  return true;
}

void SmallCopyJob::make(const util::Sizer& sizer, bool smallCopy) {
  BufferedImageSet& set = *set_;
  // A damaged file may decode to nothing: no copies of an empty picture.
  if (set.getCount() == 0 || set.getWidth() <= 0 || set.getHeight() <= 0) {
    drop();
    return;
  }
  if (needsBrowserCopy_) makeBrowserCopy();
  if (smallCopy && sizer.isApplicable(0, set)) {
    if (needsBrowserCopy_) {
      makeReencoded(sizer);
    } else {
      makeOwnFormat(sizer);
    }
  }
  drop();
}

void SmallCopyJob::makeBrowserCopy() {
  BufferedImage& picture = *set_->getPrimary();
  uint32_t width = 0, height = 0;
  PictureCopies::fitInto(static_cast<uint32_t>(picture.getWidth()), static_cast<uint32_t>(picture.getHeight()),
                         kBrowserBox, kBrowserBox, &width, &height);
  Owned<BufferedImage> copy = PictureCopies::scaled(picture, width, height);
  if (!copy) return;
  PictureCopies::Encoding encoding;
  encoding.png = !PictureCopies::isOpaque(*copy);
  encoding.quality = kBrowserQuality;
  encoding.profile = set_->getColourProfile();
  browserBytes_ = PictureCopies::encode(*copy, encoding);
  if (browserBytes_) {
    browserName_ = PictureCopies::sizedName(source_->getTitle().view(), width, height, encoding.png ? u".png" : u".jpg");
  }
}

void SmallCopyJob::makeOwnFormat(const util::Sizer& sizer) {
  BufferedImageSet& set = *set_;
  for (int i = 0; i < set.getCount(); ++i) set.getImage(i)->addFilter(sizer.makeScaleFilter(0, set));
  set.recomputePrimarySize();
  // The small copy keeps the source's extension, whatever its content.
  smallName_ = PictureCopies::sizedName(source_->getTitle().view(), static_cast<uint32_t>(set.getWidth()),
                                        static_cast<uint32_t>(set.getHeight()), source_->getExtension().view());
  // The encoder keeps its own copy of the scaled pictures; they go at once.
  Owned<IEncodedImage> small = codec_->createLike(&set);
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

void SmallCopyJob::makeReencoded(const util::Sizer& sizer) {
  BufferedImage& picture = *set_->getPrimary();
  picture.addFilter(sizer.makeScaleFilter(0, *set_));
  BufferedImage* scaled = picture.getFiltered();
  if (!scaled || scaled->getWidth() <= 0 || scaled->getHeight() <= 0) {
    picture.clearFilters();
    outcome_ = Outcome::kMakeFailed;
    return;
  }
  PictureCopies::Encoding encoding;
  encoding.png = !PictureCopies::isOpaque(*scaled);
  encoding.quality = kSmallQuality;
  encoding.interlaced = true;  // as the gallery's other PNG small copies
  encoding.profile = set_->getColourProfile();
  smallWidth_ = static_cast<uint32_t>(scaled->getWidth());
  smallHeight_ = static_cast<uint32_t>(scaled->getHeight());
  bytes_ = PictureCopies::encode(*scaled, encoding);
  picture.clearFilters();
  // Written in another format than its source's: that format's extension.
  smallName_ = PictureCopies::sizedName(source_->getTitle().view(), smallWidth_, smallHeight_,
                                        encoding.png ? u".png" : u".jpg");
  outcome_ = bytes_ ? Outcome::kEncoded : Outcome::kEncodeFailed;
}

void SmallCopyJob::drop() {
  set_.reset();
  codec_.reset();
}

}  // namespace s::image::gui::dialogs::pictorva
