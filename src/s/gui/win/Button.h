#pragma once
// A push button with a text, painted by the skin's button drawer. Its size is the
// text's extent with room for the frame: 8 pixels at each side, 5 above and below.
#include <string_view>

#include "s/gui/TextComponent.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class Button final : public thread::PooledObject<Button, TextComponent> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Button";
  static constexpr int kEventPressed = 1;
  static constexpr int kPaddingX = 8;
  static constexpr int kPaddingY = 5;


  // Called by the native window.
  void nativePressed() { fireEvent(kEventPressed); }

  NativeKind getNativeKind() const override { return NativeKind::kButton; }
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 protected:
  void measured(Size extent) override;
};

}  // namespace s::gui::win
