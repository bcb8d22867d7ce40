#pragma once
// One job list entry of the album pass on its way to its copies, made entirely in
// memory, as SmallCopyJob makes a Tile small copy: nothing is written and no event
// is sent here, so a job can be made ahead of its turn on another thread.
//
// Each picture is decoded once, and every size is derived from that one picture,
// each from the next larger one: the display copy (fitted into 2048 x 2048) when the
// original is larger or is of a format browsers do not show, then the small copy at
// twice the row height from it (or from the picture), then the one at the row height
// from that. Nothing is enlarged; a small copy that would come out at the size of
// the one above it is left out.
//
// Copies are JPEG (quality 80 for small copies, 85 for the display copy), or PNG
// when any pixel of the picture is not opaque. An animation's small copies stay
// animations of its own format, and its display copy is the original itself.
#include <cstdint>
#include <string>
#include <string_view>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"
#include "s/image/IEncodedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::gui::dialogs::pictorva {

// One encoded copy and the name it is written under before numbering:
// title (WxH) + its format's extension.
struct AlbumCopy {
  std::u16string name;
  uint32_t width = 0;
  uint32_t height = 0;
  thread::Owned<col::_array::ArrayU08> bytes;  // none: no such copy

  bool isMade() const { return static_cast<bool>(bytes); }
};

class AlbumJob {
 public:
  static constexpr int kDisplayBox = 2048;
  static constexpr int kSmallQuality = 80;
  static constexpr int kDisplayQuality = 85;

  enum class Outcome : uint8_t {
    kNone,    // not made (yet), or nothing to make (an empty picture)
    kMade,    // the copies are encoded
    kFailed,  // a copy could not be scaled or encoded
  };

  // Takes the entry's path; whether it is an existing file with a picture extension.
  bool accept(std::u16string_view entry);
  // Decodes the accepted file by its content (an animation's frames composed) and
  // reads its date taken; false when nothing can be read.
  bool open();
  // Makes the copies for rows of rowHeight pixels; then releases the pictures.
  void make(int rowHeight);
  // Forgets the pictures, keeping what accept and open learned.
  void drop();

  bool isPicture() const { return accepted_; }
  bool isOpened() const { return opened_; }
  Outcome outcome() const { return outcome_; }

  file::win::PathWin& source() { return *source_; }
  const std::u16string& fileName() const { return fileName_; }
  // The picture's size as it is shown (upright).
  uint32_t sourceWidth() const { return sourceWidth_; }
  uint32_t sourceHeight() const { return sourceHeight_; }
  // "YYYY-MM-DD", or empty when the file records no date.
  const std::u16string& taken() const { return taken_; }

  // The display copy; none when the original is shown.
  AlbumCopy& display() { return display_; }
  // The small copy at twice the row height; none when it would equal the small one.
  AlbumCopy& large() { return large_; }
  // The small copy at the row height.
  AlbumCopy& small() { return small_; }
  // A copy that would come out at the display copy's size is the display copy
  // (a very wide picture): then large() or small() is not made.
  bool largeIsDisplay() const { return largeIsDisplay_; }
  bool smallIsDisplay() const { return smallIsDisplay_; }

  // Whether browsers show pictures of the format with this extension (".jpg", ...).
  static bool browsersShow(std::u16string_view extension);

 private:
  void makeStill(int rowHeight);
  void makeAnimated(int rowHeight);
  std::u16string copyName(uint32_t width, uint32_t height, std::u16string_view extension) const;

  thread::Owned<file::win::PathWin> source_;
  std::u16string fileName_;
  bool accepted_ = false;
  bool opened_ = false;
  bool shownFormat_ = false;  // browsers show the original's format
  thread::Owned<IEncodedImage> codec_;  // kept for an animation's own encoder
  thread::Owned<win::BufferedImageSet> set_;
  uint32_t sourceWidth_ = 0;
  uint32_t sourceHeight_ = 0;
  std::u16string taken_;
  Outcome outcome_ = Outcome::kNone;
  AlbumCopy display_;
  AlbumCopy large_;
  AlbumCopy small_;
  bool largeIsDisplay_ = false;
  bool smallIsDisplay_ = false;
};

}  // namespace s::image::gui::dialogs::pictorva
