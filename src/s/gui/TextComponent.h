#pragma once
// A leaf that shows a text and takes its size from it (labels, buttons, check boxes,
// text fields): setting the text measures it again, in the native window's font, and
// tells the native window.
#include <string_view>

#include "s/gui/Component.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui {

class TextComponent : public Component {
 public:
  void setText(std::u16string_view text);
  std::u16string_view getText() const { return text_.view(); }
  void reset() override;

 protected:
  void nativeWindowCreated() override;
  // The content sizes for a text of this extent (extent.height is the line height).
  virtual void measured(Size extent) = 0;
  // Measures the text again.
  void measure() { measured(measureText(text_.view())); }

  str::strbuffer::StrBuffer text_;
};

}  // namespace s::gui
