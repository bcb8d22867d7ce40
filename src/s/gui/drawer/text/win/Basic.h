#pragma once
// The text drawer: the colours of text in labels and text fields (normal, on an
// inverted background, disabled), of selected text, and of a text field's frame.
#include "s/gui/drawer/IText.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::text::win {

class Basic final : public thread::PooledObject<Basic, IText> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_text_win_Basic";

  void setTextColours(Rgb normal, Rgb inverse, Rgb disabled);
  void setSubColours(Rgb selectionBackground, Rgb selectionText, Rgb frame);

  Colour getNormalColour() const { return normal_; }
  // Text on a background in the frame colour.
  Colour getInverseColour() const { return inverse_; }
  Colour getDisabledColour() const { return disabled_; }
  Colour getSelectionBackground() const { return selectionBackground_; }
  Colour getSelectionText() const { return selectionText_; }

  Colour getTextColour(const PaintState& state) const override;
  Colour getFrameColour() const override { return frame_; }
  void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state, unsigned align,
             Colour colour) const override;
  void reset() override;

 private:
  Colour normal_ = 0;
  Colour inverse_ = 0x00FFFFFF;
  Colour disabled_ = 0x00808080;
  Colour selectionBackground_ = kNoColour;
  Colour selectionText_ = kNoColour;
  Colour frame_ = 0;
};

}  // namespace s::gui::drawer::text::win
