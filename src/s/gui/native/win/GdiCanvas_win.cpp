#include <windows.h>

#include "s/gui/native/win/Font.h"
#include "s/gui/native/win/GdiCanvas.h"

namespace s::gui::native::win {

namespace {

HDC dcOf(void* dc) { return static_cast<HDC>(dc); }

}  // namespace

GdiCanvas::GdiCanvas(void* dc) : dc_(dc), oldFont_(SelectObject(dcOf(dc), static_cast<HFONT>(toolkitFont()))) {}

GdiCanvas::~GdiCanvas() { SelectObject(dcOf(dc_), static_cast<HGDIOBJ>(oldFont_)); }

void GdiCanvas::fillRect(const Rect& area, drawer::Colour colour) {
  if (colour == drawer::kNoColour || area.isEmpty()) return;
  const RECT rect{area.x, area.y, area.x + area.width, area.y + area.height};
  // The device context's own brush: no brush object to create per call.
  SetDCBrushColor(dcOf(dc_), colour);
  FillRect(dcOf(dc_), &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::drawText(const Rect& area, std::u16string_view text, drawer::Colour colour, unsigned align) {
  if (text.empty() || colour == drawer::kNoColour) return;
  RECT rect{area.x, area.y, area.x + area.width, area.y + area.height};
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (align == kAlignCenter) format |= DT_CENTER;
  if (align == kAlignRight) format |= DT_RIGHT;
  SetTextColor(dcOf(dc_), colour);
  SetBkMode(dcOf(dc_), TRANSPARENT);
  DrawTextW(dcOf(dc_), reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &rect, format);
}

Size GdiCanvas::measureText(std::u16string_view text) { return measureInToolkitFont(text); }

}  // namespace s::gui::native::win
