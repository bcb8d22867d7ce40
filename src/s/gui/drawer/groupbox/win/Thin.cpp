#include "s/gui/drawer/groupbox/win/Thin.h"

#include "s/gui/drawer/GroupFrame.h"

namespace s::gui::drawer::groupbox::win {

void Thin::setSubColours(Rgb title, Rgb disabledTitle) {
  title_ = toColour(title);
  disabledTitle_ = toColour(disabledTitle);
}

void Thin::paint(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight, Colour frame,
                 const PaintState& state) const {
  if (area.isEmpty()) return;
  const GroupFrame layout = layoutGroupFrame(canvas, area, title, titleHeight);
  canvas.fillRect(area, state.background);
  canvas.frameRect(layout.frame, frame != kNoColour ? frame : frame_);
  if (layout.title.isEmpty()) return;
  canvas.fillRect(layout.title, state.background);
  canvas.drawText(layout.title, title, state.disabled ? disabledTitle_ : title_, ICanvas::kAlignCenter);
}

void Thin::reset() {
  frame_ = title_ = 0;
  disabledTitle_ = 0x00808080;
}

}  // namespace s::gui::drawer::groupbox::win
