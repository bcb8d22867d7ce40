#pragma once
// One file of the scale pass on its way to its small copy, made entirely in memory:
// whether the file is a picture by its name, whether it opens, and the small copy
// (and, for a format browsers do not show, the browser copy) encoded into bytes
// with its name and size. Nothing is written and no report is made here, so a job
// can be made ahead of its turn on a helper thread; the gallery then takes the jobs
// in file order and writes them (GalleryCore).
//
// What gets written, by the source's format:
//   BMP, JPEG, GIF, PNG, ICO, WebP   a small copy in the source's own format, under
//                                    the source's extension as written (WebP: lossy
//                                    at quality 75 from a lossy source, lossless from
//                                    a lossless one; an animation stays animated)
//   HEIC/HEIF, AVIF, TIFF            a small copy as JPEG at quality 75, or PNG when
//                                    any pixel is not opaque (".jpg", ".png"), and a
//                                    browser copy fitted into 4096 x 4096, never
//                                    enlarged, as JPEG at quality 90 or PNG, which
//                                    the page links to instead of the original
// Every copy carries the source's colour profile.
//
// The steps, in order: accept (the name test), open (decoding; an animation's
// frames are composed), make (scaling and encoding; the pictures are released).
#include <cstdint>
#include <string>
#include <string_view>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"
#include "s/image/IEncodedImage.h"
#include "s/image/util/Sizer.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gui::dialogs::pictorva {

class SmallCopyJob {
 public:
  static constexpr int kBrowserBox = 4096;
  static constexpr int kSmallQuality = 75;
  static constexpr int kBrowserQuality = 90;

  enum class Outcome : uint8_t {
    kNone,        // not made (yet), or no small copy for this picture (empty, or no size)
    kMakeFailed,  // the format could not build the small copy
    kEncoded,     // bytes holds the small copy
    kEncodeFailed,
  };

  // An existing file with a picture extension (compared without letter case): .bmp,
  // .gif, .jpg, .jpeg, .png, .ico, .heic, .heif, .avif, .webp, .tif, .tiff.
  static bool acceptsByName(file::win::PathWin& path);
  // Takes the entry's path; whether it acceptsByName.
  bool accept(std::u16string_view entry);
  // Decodes the accepted file by its content; false when nothing can be read.
  bool open();
  // The same with the file decoded already.
  bool open(thread::Owned<IEncodedImage> codec);
  // Scales the opened pictures to the sizer's size 0 and encodes them (see above);
  // then releases the pictures. With smallCopy false only the browser copy is made
  // (a Flat gallery shows the pictures themselves).
  void make(const util::Sizer& sizer, bool smallCopy = true);
  // Forgets the pictures, keeping what accept and open learned.
  void drop();
  // Marks a job that is left to the gallery to make in its turn.
  void defer() { deferred_ = true; }

  bool isDeferred() const { return deferred_; }
  bool isPicture() const { return accepted_; }
  bool isOpened() const { return opened_; }
  Outcome outcome() const { return outcome_; }
  // Whether the source's format is one browsers are not shown (it gets a browser copy).
  bool needsBrowserCopy() const { return needsBrowserCopy_; }

  file::win::PathWin& source() { return *source_; }
  const std::u16string& fileName() const { return fileName_; }
  uint32_t sourceWidth() const { return sourceWidth_; }
  uint32_t sourceHeight() const { return sourceHeight_; }
  // The small copy's name before its numbering: title (WxH) + its extension.
  const std::u16string& smallName() const { return smallName_; }
  uint32_t smallWidth() const { return smallWidth_; }
  uint32_t smallHeight() const { return smallHeight_; }
  const col::_array::ArrayU08& bytes() const { return *bytes_; }
  // The browser copy: its name before numbering and its bytes; none when the source
  // needs none or it could not be made (browserName() then stays empty).
  const std::u16string& browserName() const { return browserName_; }
  const col::_array::ArrayU08* browserBytes() const { return browserBytes_.get(); }

 private:
  void makeBrowserCopy();
  void makeOwnFormat(const util::Sizer& sizer);
  void makeReencoded(const util::Sizer& sizer);

  thread::Owned<file::win::PathWin> source_;
  std::u16string fileName_;
  bool deferred_ = false;
  bool accepted_ = false;
  bool opened_ = false;
  bool needsBrowserCopy_ = false;
  thread::Owned<IEncodedImage> codec_;
  thread::Owned<win::BufferedImageSet> set_;
  uint32_t sourceWidth_ = 0;
  uint32_t sourceHeight_ = 0;
  Outcome outcome_ = Outcome::kNone;
  std::u16string smallName_;
  uint32_t smallWidth_ = 0;
  uint32_t smallHeight_ = 0;
  thread::Owned<col::_array::ArrayU08> bytes_;
  std::u16string browserName_;
  thread::Owned<col::_array::ArrayU08> browserBytes_;
};

}  // namespace s::image::gui::dialogs::pictorva
