#include "s/gui/drawer/groupbox/win/Basic.h"

#include "s/gui/drawer/GroupFrame.h"

namespace s::gui::drawer::groupbox::win {

void Basic::paint(ICanvas& canvas, const Rect& area, std::u16string_view title, int titleHeight, Colour frame,
                  const PaintState& state) const {
  if (area.isEmpty()) return;
  const GroupFrame layout = layoutGroupFrame(canvas, area, title, titleHeight);
  canvas.fillRect(area, state.background);
  // Etched: the highlight frame one pixel down and right of the shadow frame.
  const Rect& f = layout.frame;
  canvas.frameRect({f.x + 1, f.y + 1, f.width - 1, f.height - 1}, kEtchHighlight);
  canvas.frameRect({f.x, f.y, f.width - 1, f.height - 1}, frame != kNoColour ? frame : kEtchShadow);
  if (layout.title.isEmpty()) return;
  canvas.fillRect(layout.title, state.background);
  canvas.drawText(layout.title, title, state.disabled ? kEtchShadow : Colour{0}, ICanvas::kAlignCenter);
}

}  // namespace s::gui::drawer::groupbox::win
