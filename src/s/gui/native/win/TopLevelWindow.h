#pragma once
// The native window of a HostWindow: an overlapped window of the toolkit's class with
// the platform's frame, caption and menu bar. The host's size is the client area's:
// the platform's resizes come back to it as such, and its own resizes are turned into
// window sizes. The window also runs the host's menu bar (commands, owner drawing).
#include <string_view>

#include "s/gui/native/win/BoxWindow.h"

namespace s::gui::win {
class HostWindow;
}

namespace s::gui::native::win {

class TopLevelWindow final : public BoxWindow {
 public:
  explicit TopLevelWindow(gui::win::HostWindow& host);

  // Creates the window (hidden) with a client area of width × height and menu (an
  // HMENU, or nullptr); false when the platform refuses.
  bool create(std::u16string_view title, int width, int height, void* menu);
  void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) override;
  void setShown(bool shown) override;
  void destroy() override;
  // The client area's size now.
  Size getClientSize() const;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 private:
  // Fills the menu bar around its items with the skin's menu background.
  void paintMenuBarGap();
  // The window size whose client area is width × height.
  Size windowSizeFor(int width, int height) const;

  gui::win::HostWindow& host_;
};

}  // namespace s::gui::native::win
