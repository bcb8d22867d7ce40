#pragma once
// A native window kept in memory: rectangle, shown and enabled state, and counters of
// what the toolkit asked of it. Text is measured with fixed metrics (kCharWidth per
// UTF-16 unit, kLineHeight per line), so sizes are the same on every machine.
#include <vector>

#include "s/gui/native/NativeWindow.h"

namespace s::gui::native {

class MemoryWindow final : public NativeWindow {
 public:
  static constexpr int kCharWidth = 7;
  static constexpr int kLineHeight = 15;

  // A root window (parent nullptr) or a child of parent.
  MemoryWindow(Component& owner, MemoryWindow* parent);
  ~MemoryWindow() override;

  void setGeometry(int x, int y, int width, int height, unsigned parts, bool show) override;
  void setShown(bool shown) override;
  void setEnabled(bool enabled) override;
  void redraw() override { ++redrawCount_; }
  NativeWindow* createChild(Component& child) override;
  void adoptChild(IComponent& child) override;
  Size measureText(std::u16string_view text) const override;
  void refresh() override { ++refreshCount_; }
  void destroy() override;
  void* getHandle() const override { return nullptr; }

  Rect getRect() const { return rect_; }
  // The rectangle relative to the root window's client area.
  Rect getRectInRoot() const;
  bool isShownNow() const { return shown_; }
  bool isEnabledNow() const { return enabled_; }
  // Platform calls that moved or resized the window.
  int getGeometryCount() const { return geometryCount_; }
  int getRedrawCount() const { return redrawCount_; }
  int getRefreshCount() const { return refreshCount_; }
  MemoryWindow* getParentWindow() const { return parent_; }
  size_t getChildWindowCount() const { return children_.size(); }

 private:
  MemoryWindow* parent_;
  std::vector<MemoryWindow*> children_;
  Rect rect_;
  bool shown_ = false;
  bool enabled_ = true;
  int geometryCount_ = 0;
  int redrawCount_ = 0;
  int refreshCount_ = 0;
};

}  // namespace s::gui::native
