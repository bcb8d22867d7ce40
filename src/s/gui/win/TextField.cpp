#include "s/gui/win/TextField.h"

#include <algorithm>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/drawer/PaintState.h"

namespace s::gui::win {

drawer::Colour TextField::getTextColour() const {
  drawer::PaintState state;
  state.disabled = !isEnabled();
  return getSkin().getTextDrawer()->getTextColour(state);
}

drawer::Colour TextField::getFrameColour() const { return getSkin().getTextDrawer()->getFrameColour(); }

void TextField::nativeTextChanged(std::u16string_view text) {
  if (text == text_.view()) return;
  text_.assign(text);
  fireEvent(kEventChanged);
}

void TextField::measured(Size extent) {
  const int line = extent.height;
  const int height = line + 2 * kPaddingY;
  const int minWidth = line + 2 * kPaddingX;
  setContentSizes(minWidth, height, std::max(minWidth, extent.width + 2 * kPaddingX), height);
}

}  // namespace s::gui::win
