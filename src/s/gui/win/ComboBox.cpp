#include "s/gui/win/ComboBox.h"

#include <algorithm>

#include "s/gui/drawer/ICombo.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win {

void ComboBox::addItem(std::u16string_view text) {
  items_.appendCopy(text);
  measure();
  refreshNative();
}

void ComboBox::removeAllItems() {
  items_.clear();
  selected_ = -1;
  measure();
  refreshNative();
}

std::u16string_view ComboBox::getItemText(int index) const {
  if (index < 0 || index >= getItemCount()) return {};
  return items_.textAt(static_cast<size_t>(index))->view();
}

void ComboBox::setSelected(int index) {
  selected_ = index >= 0 && index < getItemCount() ? index : -1;
  refreshNative();
}

void ComboBox::nativeSelectionChanged(int index) {
  const int chosen = index >= 0 && index < getItemCount() ? index : -1;
  if (chosen == selected_) return;
  selected_ = chosen;
  fireEvent(kEventSelectionChanged);
}

drawer::Colour ComboBox::getFrameColour() const { return getSkin().getComboDrawer()->getFrameColour(); }

void ComboBox::paintItem(drawer::ICanvas& canvas, const Rect& area, int index, const drawer::PaintState& state,
                         bool inField) {
  drawer::PaintState current = state;
  current.background = getEffectiveBackground();
  current.disabled = current.disabled || !isEnabled();
  getSkin().getComboDrawer()->paintItem(canvas, area, getItemText(index), current, inField);
}

void ComboBox::nativeWindowCreated() {
  measure();
  Component::nativeWindowCreated();
}

void ComboBox::measure() {
  int widest = 0;
  const int line = measureText(u"").height;
  for (int i = 0; i < getItemCount(); ++i) widest = std::max(widest, measureText(getItemText(i)).width);
  const int width = widest + line + 2 * kPaddingX;
  const int height = line + 2 * kPaddingY;
  setContentSizes(width, height, width, height);
}

void ComboBox::reset() {
  Component::reset();
  items_.reset();
  selected_ = -1;
}

}  // namespace s::gui::win
