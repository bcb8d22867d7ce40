#pragma once
// The window of a combo box: a platform drop-down list with owner-drawn entries and an
// edge in the skin's colours; the arrow button stays the platform's.
#include "s/gui/native/win/ControlWindow.h"

namespace s::gui::native::win {

class ComboBoxWindow final : public ControlWindow {
 public:
  explicit ComboBoxWindow(Component& owner) : ControlWindow(owner) {}
  bool create(void* parentHwnd);
  void refresh() override;
  // The height given is the closed box's; the window also covers the open list.
  void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) override;

 protected:
  bool handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
  void command(unsigned code) override;
  void drawItem(const void* item) override;

 private:
  // The box's edge in the skin's colours, over the platform's (after it painted).
  void paintEdge();
};

}  // namespace s::gui::native::win
