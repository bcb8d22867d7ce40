#pragma once
// The one font of the toolkit's windows: the system's message font, created once per
// process and kept until it ends.
#include <string_view>

#include "s/gui/Geometry.h"

namespace s::gui::native::win {

// The font (an HFONT).
void* toolkitFont();
// The extent of text on one line in the toolkit font; the height is the font's line
// height, also for an empty text.
Size measureInToolkitFont(std::u16string_view text);

}  // namespace s::gui::native::win
