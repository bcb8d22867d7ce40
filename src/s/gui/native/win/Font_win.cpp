#include <windows.h>

#include "s/base/win/Scoped_win.h"
#include "s/gui/native/win/Font.h"

namespace s::gui::native::win {

void* toolkitFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      if (HFONT created = CreateFontIndirectW(&metrics.lfMessageFont)) return created;
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

Size measureInToolkitFont(std::u16string_view text) {
  const base::win::WindowDc screen;
  const base::win::SelectedObject font(screen.get(), static_cast<HFONT>(toolkitFont()));
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  SIZE extent{};
  if (!text.empty()) {
    GetTextExtentPoint32W(screen.get(), reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                          &extent);
  }
  return {static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}

}  // namespace s::gui::native::win
