#include "s/gui/TextComponent.h"

namespace s::gui {

void TextComponent::setText(std::u16string_view text) {
  text_.assign(text);
  measure();
  refreshNative();
  redraw();
}

void TextComponent::nativeWindowCreated() {
  measure();
  Component::nativeWindowCreated();
}

void TextComponent::reset() {
  Component::reset();
  text_.reset();
}

}  // namespace s::gui
