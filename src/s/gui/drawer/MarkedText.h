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

// The thin skins' drawer of a kind with a mark box (Kind: ICheckBox or IRadioButton),
// with a round mark box when kRound.
template <class Kind, bool kRound>
class ThinMarkDrawer : public Kind {
 public:
  // The frame of the mark box, and the text.
  void setColours(Rgb frame, Rgb text) {
    colours_.frame = toColour(frame);
    colours_.text = toColour(text);
  }
  // The mark of a chosen box (unset: the text colour).
  void setMarkColour(Rgb mark) { colours_.mark = toColour(mark); }
  Colour getFrameColour() const { return colours_.frame; }
  Colour getTextColour() const { return colours_.text; }
  Colour getMarkColour() const { return colours_.mark; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const override {
    paintMarkedText(canvas, area, text, state, colours_, kRound);
  }
  void reset() override { colours_ = {}; }

 private:
  MarkColours colours_;
};

}  // namespace s::gui::drawer
