#pragma once
// What a gallery reports while it is made (GalleryCore), and what it ends with.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/GalleryRow.h"

namespace s::image::gui::dialogs::pictorva {

// A picture the gallery could not read (it is still copied into img), or what it
// noticed about one: each is named with its reason.
struct UnreadablePicture {
  enum class Reason : uint8_t {
    kDamaged,              // damaged or truncated
    kTooLarge,             // width x height over the limit of pixels per picture
    kTooManyFramePixels,   // an animation's frames hold more pixels than the limit
    kUnsupported,          // a variant no reader here reads (variant says which)
    kAnimationCut,         // read, but only its first limit frames: it still has its row
    kNoPicturesInFolder,   // a dropped folder holding no picture
  };
  std::u16string name;  // the file's name (a folder's full path)
  Reason reason = Reason::kDamaged;
  int64_t width = 0;    // kTooLarge: the size the file says; kTooManyFramePixels: the pixels
  int64_t height = 0;
  int64_t limit = 0;    // the limit the file is over, or the frame limit
  std::u16string variant;

  // Whether it counts as a picture that could not be read (the others only say what
  // happened).
  bool isUnread() const { return reason != Reason::kAnimationCut && reason != Reason::kNoPicturesInFolder; }
  // "name: reason", the reason's text from text(id) (lang::StatusTexts ids), or the
  // English one where that is empty, with its numbers filled in.
  std::u16string line(const std::function<std::u16string(int32_t id)>& text) const;
};

// Something the gallery could not make or write: what (a text id of lang::StatusTexts,
// kCouldNotCopy ...) and the path.
struct GalleryFailure {
  int32_t what = 0;
  std::u16string path;
};

struct GalleryOutcome {
  std::u16string folder;    // the gallery folder; empty when none could be made
  std::u16string pagePath;  // the page (also when it could not be written)
  std::vector<GalleryRow> rows;
  // Each copy, small copy, folder or page that could not be made or written; empty
  // when everything was written.
  std::vector<GalleryFailure> failures;
  // The pictures not read or cut short, and the folders without pictures, in the
  // order the files were made.
  std::vector<UnreadablePicture> unreadable;
  size_t pictures = 0;  // the picture files looked at (by their names)
  bool cancelled = false;

  size_t unreadCount() const;
  // The failures as lines separated by CR LF, each the text of its what (text(id), or
  // the English one where that is empty) and the path in quotes.
  std::u16string failureText(const std::function<std::u16string(int32_t id)>& text) const;
  // The unreadable pictures' lines, separated by CR LF.
  std::u16string unreadableText(const std::function<std::u16string(int32_t id)>& text) const;
};

// The reports, on the thread that makes the gallery.
class IGalleryProgress {
 public:
  virtual ~IGalleryProgress() = default;
  // First thing, before any file is looked at.
  virtual void started() = 0;
  // Step index (from 0) of total begins, for the file named: Tile, for each picture
  // that opens, just before its small copy is made; Flat, for every file before it is
  // looked at.
  virtual void stepStarted(size_t total, size_t index, std::u16string_view fileName) = 0;
  // Last thing, also after a cancel.
  virtual void ended(const GalleryOutcome& outcome) = 0;
};

}  // namespace s::image::gui::dialogs::pictorva
