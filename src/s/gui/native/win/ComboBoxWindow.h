#pragma once
// The window of a combo box: a platform drop-down list with owner-drawn entries.
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
  void command(unsigned code) override;
  void drawItem(const void* item) override;
};

}  // namespace s::gui::native::win
