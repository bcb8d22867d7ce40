#pragma once
// The file names a gallery gives out in one of its folders, each at most once. A name
// asked for again gets the first free variant, as PathWin::uniqueVariant numbers a
// file ("x.gif", "x (1).gif", "x (2).gif", ...), so two dropped files of one name (two
// phones' IMG_0001.JPG) each keep a copy of their own. Names are compared as the
// file system compares them: on Windows without regard to letter case, where
// "IMG_1.JPG" and "img_1.jpg" name one file.
#include <string>
#include <string_view>
#include <unordered_set>

namespace s::image::gui::dialogs::pictorva {

class NameClaims {
 public:
  // The name given out for name: name itself while it is free, else its first free
  // variant.
  std::u16string claim(std::u16string_view name);
  bool isTaken(std::u16string_view name) const;

 private:
  // The name as the file system compares it.
  static std::u16string keyOf(std::u16string_view name);

  std::unordered_set<std::u16string> taken_;
};

}  // namespace s::image::gui::dialogs::pictorva
