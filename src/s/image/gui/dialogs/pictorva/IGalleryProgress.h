#pragma once
// What a gallery reports while it is made (GalleryCore), and what it ends with.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/GalleryRow.h"

namespace s::image::gui::dialogs::pictorva {

struct GalleryOutcome {
  std::u16string folder;    // the gallery folder; empty when none could be made
  std::u16string pagePath;  // the page (also when it could not be written)
  std::vector<GalleryRow> rows;
  // Each copy, small copy, folder or page that could not be made or written, a line
  // each (lines separated by CR LF); empty when everything was written.
  std::u16string failures;
  bool cancelled = false;
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
