#pragma once
// A check box: a mark box and a text, painted by the skin's check box drawer. Its
// size is text width + text height + text height ÷ 6 by the text height (the box is
// as high as the text, with a sixth of that before the text).
#include <string_view>

#include "s/gui/TextComponent.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class CheckBox final : public thread::PooledObject<CheckBox, TextComponent> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_CheckBox";
  // The user switched the box; isChecked tells the new state.
  static constexpr int kEventToggled = 1;

  // Sets the state without an event.
  void setChecked(bool checked);
  bool isChecked() const { return checked_; }

  // Called by the native window on a click or the space key: switches and tells.
  void nativeClicked();

  NativeKind getNativeKind() const override { return NativeKind::kCheckBox; }
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 protected:
  void measured(Size extent) override;

 private:
  bool checked_ = false;
};

}  // namespace s::gui::win
