#pragma once
// The colour themes of the two skin families. A "ThinWindow" theme has 15 colours
// c1 … c15 (colours[0] … colours[14]) and a number; a "Thin" theme has 6: background,
// frame, text, and c4 … c6. Both lists are in the order the skinner offers them.
#include <span>

#include "s/gui/drawer/Colour.h"

namespace s::gui::drawer::skin {

struct ThinWindowTheme {
  int id;
  const char16_t* name;
  Rgb colours[15];
};

struct ThinTheme {
  const char16_t* name;
  Rgb colours[6];
};

// The theme with this number, or nullptr (numbers 5, 14, 15 and those above 19 do not
// exist).
const ThinWindowTheme* findThinWindowTheme(int id);
// The theme numbers in the order of the "ThinWindow" skinner.
std::span<const int> thinWindowOrder();
std::span<const ThinTheme> thinThemes();

}  // namespace s::gui::drawer::skin
