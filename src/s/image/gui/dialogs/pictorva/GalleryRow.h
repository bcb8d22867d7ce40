#pragma once
// One picture of a gallery page, as the passes find it and the page writer shows it.
#include <cstdint>
#include <string>

namespace s::image::gui::dialogs::pictorva {

struct GalleryRow {
  std::u16string sourceName;  // file name with extension, as in its path
  uint32_t sourceWidth = 0;
  uint32_t sourceHeight = 0;
  uint64_t sourceSize = 0;    // bytes; 64-bit so files over 4 GiB show right
  std::u16string smallName;   // the small copy's file name (Tile only)
  uint32_t smallWidth = 0;
  uint32_t smallHeight = 0;
};

}  // namespace s::image::gui::dialogs::pictorva
