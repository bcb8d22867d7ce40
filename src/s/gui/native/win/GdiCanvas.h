#pragma once
// A canvas over a Win32 device context, painting in the toolkit font.
#include "s/gui/drawer/ICanvas.h"

namespace s::gui::native::win {

class GdiCanvas final : public drawer::ICanvas {
 public:
  // dc is an HDC the caller keeps; the canvas selects the toolkit font into it and
  // restores the previous one when it goes.
  explicit GdiCanvas(void* dc);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void fillRect(const Rect& area, drawer::Colour colour) override;
  void drawText(const Rect& area, std::u16string_view text, drawer::Colour colour, unsigned align) override;
  Size measureText(std::u16string_view text) override;

 private:
  void* dc_;
  void* oldFont_;
};

}  // namespace s::gui::native::win
