#include "s/gui/native/MemoryWindow.h"

#include <algorithm>

#include "s/gui/Component.h"

namespace s::gui::native {

MemoryWindow::MemoryWindow(Component& owner, MemoryWindow* parent) : NativeWindow(owner), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

MemoryWindow::~MemoryWindow() = default;

void MemoryWindow::setGeometry(int x, int y, int width, int height, unsigned parts, bool show) {
  if (parts & kMove) rect_.x = x, rect_.y = y;
  if (parts & kResize) rect_.width = std::max(0, width), rect_.height = std::max(0, height);
  if (show) shown_ = true;
  ++geometryCount_;
}

void MemoryWindow::setShown(bool shown) { shown_ = shown; }

void MemoryWindow::setEnabled(bool enabled) { enabled_ = enabled; }

NativeWindow* MemoryWindow::createChild(Component& child) { return new MemoryWindow(child, this); }

void MemoryWindow::adoptChild(IComponent& child) { child.setParent(&owner_); }

Size MemoryWindow::measureText(std::u16string_view text) const {
  return {static_cast<int>(text.size()) * kCharWidth, kLineHeight};
}

void MemoryWindow::destroy() {
  // Descendants go first, as the platform destroys child windows before their parent
  // finishes; each removes itself from children_.
  while (!children_.empty()) children_.back()->destroy();
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
  }
  notifyDestroyed();
  delete this;
}

Rect MemoryWindow::getRectInRoot() const {
  Rect rect = rect_;
  for (const MemoryWindow* up = parent_; up && up->parent_; up = up->parent_) {
    rect.x += up->rect_.x;
    rect.y += up->rect_.y;
  }
  return rect;
}

}  // namespace s::gui::native
