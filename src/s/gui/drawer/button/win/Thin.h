#pragma once
// The button drawer of the thin skins: a flat face inside a one-pixel frame, the face
// changing when the pointer is over the button and when it is pressed. Unset fills
// (kNoColour) show what lies behind the button.
#include "s/gui/drawer/IButton.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::button::win {

class Thin final : public thread::PooledObject<Thin, IButton> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_button_win_Thin";

  void setFrameColour(Rgb colour) { frame_ = toColour(colour); }
  void setFaceColour(Rgb colour) { face_ = toColour(colour); }
  void setHotFrameColour(Rgb colour) { hotFrame_ = toColour(colour); }
  void setPressedFaceColour(Rgb colour) { pressedFace_ = toColour(colour); }
  void setTextColour(Rgb colour) { text_ = toColour(colour); }
  void setHotFaceColour(Rgb colour) { hotFace_ = toColour(colour); }
  void setPressedTextColour(Rgb colour) { pressedText_ = toColour(colour); }

  Colour getFrameColour() const { return frame_; }
  Colour getFaceColour() const { return face_; }
  Colour getHotFrameColour() const { return hotFrame_; }
  Colour getPressedFaceColour() const { return pressedFace_; }
  Colour getTextColour() const { return text_; }
  Colour getHotFaceColour() const { return hotFace_; }
  Colour getPressedTextColour() const { return pressedText_; }

  void paint(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const override;
  void reset() override;

 private:
  Colour frame_ = 0;
  Colour face_ = kNoColour;
  Colour hotFrame_ = kNoColour;
  Colour pressedFace_ = kNoColour;
  Colour text_ = 0;
  Colour hotFace_ = kNoColour;
  Colour pressedText_ = kNoColour;
};

}  // namespace s::gui::drawer::button::win
