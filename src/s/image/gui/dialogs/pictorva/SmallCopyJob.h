#pragma once
// One job list entry of the scale pass on its way to a small copy, made entirely in
// memory: whether the entry is a picture by its name, whether it opens, and the
// small copy encoded into bytes with its name and sizes. Nothing is written and no
// event is sent here, so a job can be made ahead of its turn on a helper thread;
// the run's worker then takes the jobs in file order and writes them (GalleryRun).
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
  enum class Outcome : uint8_t {
    kNone,        // not made (yet), or no small copy for this picture (empty, or no size)
    kMakeFailed,  // the format could not build the small copy
    kEncoded,     // bytes holds the small copy
    kEncodeFailed,
  };

  // An existing file with a picture extension (compared without letter case).
  static bool acceptsByName(file::win::PathWin& path);
  // Takes the entry's path; whether it acceptsByName.
  bool accept(std::u16string_view entry);
  // Decodes the accepted file by its content; false when nothing can be read.
  bool open();
  // Scales the opened pictures to the sizer's size 0 and encodes them in the
  // source's own format; then releases the pictures.
  void make(const util::Sizer& sizer);
  // Forgets the pictures, keeping what accept and open learned.
  void drop();
  // Marks a job that is left to the worker to make in its turn.
  void defer() { deferred_ = true; }

  bool isDeferred() const { return deferred_; }
  bool isPicture() const { return accepted_; }
  bool isOpened() const { return opened_; }
  Outcome outcome() const { return outcome_; }

  file::win::PathWin& source() { return *source_; }
  const std::u16string& fileName() const { return fileName_; }
  uint32_t sourceWidth() const { return sourceWidth_; }
  uint32_t sourceHeight() const { return sourceHeight_; }
  // The small copy's name before its numbering: title (WxH) + the source's extension.
  const std::u16string& smallName() const { return smallName_; }
  uint32_t smallWidth() const { return smallWidth_; }
  uint32_t smallHeight() const { return smallHeight_; }
  const col::_array::ArrayU08& bytes() const { return *bytes_; }

 private:
  thread::Owned<file::win::PathWin> source_;
  std::u16string fileName_;
  bool deferred_ = false;
  bool accepted_ = false;
  bool opened_ = false;
  thread::Owned<IEncodedImage> codec_;
  thread::Owned<win::BufferedImageSet> set_;
  uint32_t sourceWidth_ = 0;
  uint32_t sourceHeight_ = 0;
  Outcome outcome_ = Outcome::kNone;
  std::u16string smallName_;
  uint32_t smallWidth_ = 0;
  uint32_t smallHeight_ = 0;
  thread::Owned<col::_array::ArrayU08> bytes_;
};

}  // namespace s::image::gui::dialogs::pictorva
