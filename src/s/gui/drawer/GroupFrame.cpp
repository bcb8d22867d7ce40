#include "s/gui/drawer/GroupFrame.h"

#include <algorithm>

namespace s::gui::drawer {

namespace {

constexpr int kTitleIndent = 8;
constexpr int kTitlePadding = 2;

}  // namespace

GroupFrame layoutGroupFrame(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight) {
  GroupFrame layout;
  const int top = titleHeight / 2;
  layout.frame = {area.x, area.y + top, area.width, std::max(0, area.height - top)};
  if (!title.empty()) {
    const int width = std::min(canvas.measureText(title).width + 2 * kTitlePadding, area.width - 2 * kTitleIndent);
    layout.title = {area.x + kTitleIndent, area.y, std::max(0, width), titleHeight};
  }
  return layout;
}

}  // namespace s::gui::drawer
