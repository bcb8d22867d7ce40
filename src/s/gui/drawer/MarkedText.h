#pragma once
// What check boxes and radio buttons share: a square mark box as high as a text line
// at the left, vertically centred, then a gap of a sixth of the line and the text.
// Their size is text width + line height + line height ÷ 6 by the line height.
#include <string_view>

#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/PaintState.h"

namespace s::gui::drawer {

struct MarkColours {
  Colour frame = 0;
  Colour text = 0;
  Colour mark = kNoColour;  // unset: the text colour
};

// round: a circle (radio button) instead of a square (check box).
void paintMarkedText(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                     const MarkColours& colours, bool round);

}  // namespace s::gui::drawer
