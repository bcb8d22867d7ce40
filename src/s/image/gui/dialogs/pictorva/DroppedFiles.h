#pragma once
// What a drop gives a gallery to make: the dropped files in drop order, then, for each
// dropped folder in turn, the pictures directly inside it in natural order (letters
// without case, digit runs by value: "IMG_2" before "IMG_10"), as if they had been
// dropped one by one. A folder's other files, its subfolders and its hidden files
// (names beginning with ".", such as the "._" files Macs leave) are left alone, and
// the folder itself is not copied.
#include <string>
#include <vector>

namespace s::image::gui::dialogs::pictorva {

struct DroppedFiles {
  std::vector<std::u16string> files;
  // The dropped folders that hold no picture.
  std::vector<std::u16string> foldersWithoutPictures;

  static DroppedFiles of(const std::vector<std::u16string>& paths);
};

}  // namespace s::image::gui::dialogs::pictorva
