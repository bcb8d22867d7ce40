#pragma once
// A one-line text field. The user's edits reach getText at once; the size follows the
// text set by the program (edits do not resize the field): the text's extent with 5
// pixels at each side and 3 above and below, at least one line high and a line wide.
#include "s/gui/TextComponent.h"
#include "s/gui/drawer/Colour.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class TextField final : public thread::PooledObject<TextField, TextComponent> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_TextField";
  // The user changed the text.
  static constexpr int kEventChanged = 1;
  static constexpr int kPaddingX = 5;
  static constexpr int kPaddingY = 3;

  // The colours the native field paints with: text, background, frame.
  drawer::Colour getTextColour() const;
  drawer::Colour getFieldBackground() const { return getEffectiveBackground(); }
  drawer::Colour getFrameColour() const;

  // Called by the native window when the user edited the text.
  void nativeTextChanged(std::u16string_view text);

  NativeKind getNativeKind() const override { return NativeKind::kTextField; }

 protected:
  void measured(Size extent) override;
};

}  // namespace s::gui::win
