#pragma once
// A line of text. Its size is the text's extent in the window's font (an empty label
// is one line high). The text has the skin's text colour unless the label has its
// own; a label in link mode shows its hover colour while the pointer is over it and
// tells its listeners of a click.
#include <string_view>

#include "s/gui/TextComponent.h"
#include "s/gui/drawer/Colour.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class Label final : public thread::PooledObject<Label, TextComponent> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Label";
  // A click on the label.
  static constexpr int kEventClicked = 1;
  // Blue, the colour of a link under the pointer.
  static constexpr drawer::Colour kDefaultHoverColour = drawer::rgb(0, 0, 238);

  // A new label showing text.
  static Label* newLabel(std::u16string_view text = {});

  void setTextColour(drawer::Rgb colour);
  // Back to the skin's text colour.
  void clearTextColour();
  drawer::Colour getTextColour() const { return textColour_; }
  void setLinkMode(bool link, drawer::Rgb hoverColour = {0, 0, 238});
  bool isLink() const { return link_; }
  bool isHovered() const { return hovered_; }
  // The colour the text is painted in now.
  drawer::Colour getPaintColour(bool disabled) const;

  // Called by the native window.
  void nativeClicked() { fireEvent(kEventClicked); }
  void nativeHovered(bool hovered);

  NativeKind getNativeKind() const override { return NativeKind::kLabel; }
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 protected:
  void measured(Size extent) override;

 private:
  drawer::Colour textColour_ = drawer::kNoColour;
  drawer::Colour hoverColour_ = kDefaultHoverColour;
  bool link_ = false;
  bool hovered_ = false;
};

}  // namespace s::gui::win
