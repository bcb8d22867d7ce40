#pragma once
// The native window of a top-level window (HostWindow, Window): an overlapped window
// of the toolkit's class with the platform's frame, caption and menu bar. The host's
// size is the client area's: the platform's resizes come back to it as such, and its
// own resizes are turned into window sizes. The window also runs the host's menu bar
// (commands, owner drawing).
#include <string_view>

#include "s/gui/native/win/BoxWindow.h"

namespace s::gui::win {
class TopLevelBase;
}

namespace s::gui::native::win {

class TopLevelWindow : public BoxWindow {
 public:
  explicit TopLevelWindow(gui::win::TopLevelBase& host);

  // Creates the window (hidden) with a client area of width × height and menu (an
  // HMENU, or nullptr); false when the platform refuses.
  bool createWithClientSize(std::u16string_view title, int width, int height, void* menu);
  void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) override;
  void setShown(bool shown) override;
  // The client area's size now.
  Size getClientSize() const;
  // The window size whose client area is width × height, with the window's present
  // styles and menu.
  Size windowSizeFor(int width, int height) const;

 protected:
  // Creates the window (hidden) with these styles, outer size and owner (an HWND, or
  // nullptr) and binds it; false when the platform refuses.
  bool createFrame(unsigned long exStyle, unsigned long style, std::u16string_view title, int x, int y, int width,
                   int height, void* owner, void* menu);
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 private:
  // Fills the menu bar around its items with the skin's menu background.
  void paintMenuBarGap();

  gui::win::TopLevelBase& host_;
};

}  // namespace s::gui::native::win
