#include "s/gui/drawer/MarkedText.h"

#include <algorithm>

namespace s::gui::drawer {

void paintMarkedText(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state,
                     const MarkColours& colours, bool round) {
  if (area.isEmpty()) return;
  canvas.fillRect(area, state.background);
  const int line = canvas.measureText(u"").height;
  const int side = std::max(1, std::min({line, area.height, area.width}));
  const Rect box{area.x, area.y + (area.height - side) / 2, side, side};
  const Colour fill = state.background;
  const Colour textColour = state.disabled ? mix(colours.text, state.background) : colours.text;
  Colour mark = colours.mark != kNoColour ? colours.mark : colours.text;
  if (state.disabled) mark = mix(mark, state.background);
  // The mark sits a quarter of the box inside its edge.
  const int inset = std::max(2, side / 4);
  const Rect inner{box.x + inset, box.y + inset, side - 2 * inset, side - 2 * inset};
  // The mark is outlined in the text colour, so a light mark on a light ground shows.
  if (round) {
    canvas.fillDisc(box, colours.frame);
    canvas.fillDisc({box.x + 1, box.y + 1, side - 2, side - 2}, fill);
    if (state.checked) {
      canvas.fillDisc(inner, textColour);
      canvas.fillDisc({inner.x + 1, inner.y + 1, inner.width - 2, inner.height - 2}, mark);
    }
  } else {
    canvas.fillRect(box, fill);
    canvas.frameRect(box, colours.frame);
    if (state.checked) {
      canvas.fillRect(inner, mark);
      canvas.frameRect(inner, textColour);
    }
  }
  const int textX = box.x + side + side / 6;
  const Rect textArea{textX, area.y, area.x + area.width - textX, area.height};
  canvas.drawText(textArea, text, textColour, ICanvas::kAlignLeft);
  if (state.focused) {
    const Size extent = canvas.measureText(text);
    canvas.dottedFrame({textX - 1, area.y + (area.height - extent.height) / 2 - 1, extent.width + 2, extent.height + 2},
                       textColour);
  }
}

}  // namespace s::gui::drawer
