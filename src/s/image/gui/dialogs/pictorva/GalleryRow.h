#pragma once
// One picture of a gallery page, as the passes find it and the page writers show it.
// Tile rows have a small copy; Flat rows only the picture; Album rows also a display
// copy, a copy at twice the row height and the date taken.
#include <cstdint>
#include <string>

namespace s::image::gui::dialogs::pictorva {

struct GalleryRow {
  std::u16string sourceName;  // file name with extension, as in its path
  std::u16string imgName;     // the name of its copy in "img", which the page links to
  uint32_t sourceWidth = 0;
  uint32_t sourceHeight = 0;
  uint64_t sourceSize = 0;    // bytes; 64-bit so files over 4 GiB show right
  std::u16string smallName;   // the small copy's file name in "simg" (Tile, Album)
  uint32_t smallWidth = 0;
  uint32_t smallHeight = 0;
  std::u16string largeName;    // Album: at twice the row height, in "simg"; empty: none
  std::u16string displayName;  // Album: in "simg"; empty: the original is shown
  std::u16string taken;        // Album: "YYYY-MM-DD" when the picture says, else empty
};

}  // namespace s::image::gui::dialogs::pictorva
