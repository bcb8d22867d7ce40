#pragma once
// What the group box drawers share: the frame's rectangle runs from the middle of the
// title line to the bottom; the title sits 8 pixels in, on the background, with 2
// pixels of room at each side.
#include <string_view>

#include "s/gui/drawer/ICanvas.h"

namespace s::gui::drawer {

struct GroupFrame {
  Rect frame;
  Rect title;  // empty without a title
};

GroupFrame layoutGroupFrame(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight);

}  // namespace s::gui::drawer
