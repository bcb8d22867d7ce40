#include "s/gui/win/Label.h"

#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/drawer/PaintState.h"

namespace s::gui::win {

Label* Label::newLabel(std::u16string_view text) {
  Label* label = create();
  label->setText(text);
  return label;
}

void Label::setTextColour(drawer::Rgb colour) {
  textColour_ = drawer::toColour(colour);
  redraw();
}

void Label::clearTextColour() {
  textColour_ = drawer::kNoColour;
  redraw();
}

void Label::setLinkMode(bool link, drawer::Rgb hoverColour) {
  link_ = link;
  hoverColour_ = drawer::toColour(hoverColour);
  if (!link_) hovered_ = false;
  refreshNative();
  redraw();
}

void Label::nativeHovered(bool hovered) {
  hovered = hovered && link_;
  if (hovered == hovered_) return;
  hovered_ = hovered;
  redraw();
}

drawer::Colour Label::getPaintColour(bool disabled) const {
  if (hovered_) return hoverColour_;
  if (textColour_ != drawer::kNoColour && !disabled) return textColour_;
  drawer::PaintState state;
  state.disabled = disabled;
  return getSkin().getTextDrawer()->getTextColour(state);
}

void Label::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  canvas.fillRect(area, getEffectiveBackground());
  canvas.drawText(area, text_.view(), getPaintColour(state.disabled), drawer::ICanvas::kAlignLeft);
}

void Label::measured(Size extent) {
  setContentSizes(extent.width, extent.height, extent.width, extent.height);
}

void Label::reset() {
  TextComponent::reset();
  textColour_ = drawer::kNoColour;
  hoverColour_ = kDefaultHoverColour;
  link_ = hovered_ = false;
}

}  // namespace s::gui::win
