#include "s/gui/Component.h"

#include <algorithm>
#include <cstdint>

#include "s/gui/IWindow.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/native/NativeWindow.h"

namespace s::gui {

namespace {

// Where a hidden component's native window waits, out of every screen.
constexpr int kHiddenX = -10000;
constexpr int kHiddenY = 10000;

int unsetIfNegative(int value) { return value < 0 ? -1 : value; }

}  // namespace

Component::Component() = default;

// Pools destroy only reset objects, so there is nothing left to free here.
Component::~Component() = default;

void Component::setPosition(int x, int y) {
  x_ = x;
  y_ = y;
  if (deferring_) {
    pending_ = true;
    return;
  }
  applyGeometry(native::NativeWindow::kMove);
}

void Component::setSize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  if (deferring_) {
    pending_ = true;
    return;
  }
  applyGeometry(native::NativeWindow::kResize);
}

void Component::setBounds(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  if (deferring_ || !native_) {
    pending_ = true;
    return;
  }
  applyGeometry(native::NativeWindow::kMove | native::NativeWindow::kResize);
}

void Component::applyGeometry(unsigned parts) {
  if (native_) native_->setGeometry(x_ + originX_, y_ + originY_, width_, height_, parts, true);
  notify(geometryListeners_, kEventGeometry);
}

void Component::nativeWindowResized(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  notify(geometryListeners_, kEventGeometry);
  relayout();
}

void Component::setOrigin(int originX, int originY) {
  originX_ = originX;
  originY_ = originY;
  setPosition(x_, y_);
}

int Component::getMinWidth() const { return fixedWidth_ >= 0 ? fixedWidth_ : contentMinWidth_; }

int Component::getMinHeight() const { return fixedHeight_ >= 0 ? fixedHeight_ : contentMinHeight_; }

// A percent of the parent's content size, truncated toward zero. 64-bit: a large
// percent of a large parent would overflow int.
static int truncatedPercent(int whole, int percent) {
  return static_cast<int>(std::min<int64_t>(INT32_MAX, int64_t{whole} * percent / 100));
}

int Component::getPreferredWidth() const {
  if (fixedWidth_ >= 0) return fixedWidth_;
  if (widthPercent_ >= 0 && parent_) return truncatedPercent(parentContentWidth(), widthPercent_);
  return std::max(contentMinWidth_, contentPreferredWidth_);
}

int Component::getPreferredHeight() const {
  if (fixedHeight_ >= 0) return fixedHeight_;
  if (heightPercent_ >= 0 && parent_) return truncatedPercent(parentContentHeight(), heightPercent_);
  return std::max(contentMinHeight_, contentPreferredHeight_);
}

int Component::parentContentWidth() const { return parent_ ? parent_->getContentWidth() : 0; }

int Component::parentContentHeight() const { return parent_ ? parent_->getContentHeight() : 0; }

void Component::setFixedWidth(int width, bool relayout) {
  fixedWidth_ = unsetIfNegative(width);
  widthPercent_ = -1;
  sizeRuleChanged(relayout);
}

void Component::setFixedHeight(int height, bool relayout) {
  fixedHeight_ = unsetIfNegative(height);
  heightPercent_ = -1;
  sizeRuleChanged(relayout);
}

void Component::setWidthPercent(int percent, bool relayout) {
  widthPercent_ = unsetIfNegative(percent);
  fixedWidth_ = -1;
  sizeRuleChanged(relayout);
}

void Component::setHeightPercent(int percent, bool relayout) {
  heightPercent_ = unsetIfNegative(percent);
  fixedHeight_ = -1;
  sizeRuleChanged(relayout);
}

void Component::sizeRuleChanged(bool relayout) {
  if (relayout && native_ && parent_) parent_->relayout();
}

void Component::setContentSizes(int minWidth, int minHeight, int preferredWidth, int preferredHeight) {
  if (contentMinWidth_ == minWidth && contentMinHeight_ == minHeight && contentPreferredWidth_ == preferredWidth &&
      contentPreferredHeight_ == preferredHeight) {
    return;
  }
  contentMinWidth_ = std::max(0, minWidth);
  contentMinHeight_ = std::max(0, minHeight);
  contentPreferredWidth_ = std::max(0, preferredWidth);
  contentPreferredHeight_ = std::max(0, preferredHeight);
  if (native_ && parent_) parent_->relayout();
}

Size Component::measureText(std::u16string_view text) const {
  return native_ ? native_->measureText(text) : Size{};
}

void Component::setVisible(bool visible, bool recursive) {
  if (visible) {
    const bool wasHidden = !visible_;
    visible_ = true;
    if (native_) native_->setShown(true);
    if (!wasHidden) return;
    if (recursive) {
      for (int i = 0; i < getChildCount(); ++i) getChild(i)->setVisible(true, true);
    }
    // Twice: a flow's height follows the width it gets, which the first run decides.
    if (parent_) {
      parent_->relayout();
      parent_->relayout();
    }
  } else if (visible_) {
    visible_ = false;
    if (native_) {
      native_->setShown(false);
      native_->setGeometry(kHiddenX, kHiddenY, 0, 0, native::NativeWindow::kMove, false);
    }
    for (int i = 0; i < getChildCount(); ++i) getChild(i)->setVisible(false, recursive);
  }
}

void Component::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (native_) native_->setEnabled(enabled);
}

// Halving by a shift, as the rest of the toolkit does: the same as ÷ 2 for the
// non-negative differences that reach it.
void Component::centerInParent() {
  const int dx = parentContentWidth() - width_;
  const int dy = parentContentHeight() - height_;
  setPosition(dx > 0 ? dx >> 1 : 0, dy > 0 ? dy >> 1 : 0);
}

void Component::centerHorizontally() {
  const int dx = parentContentWidth() - width_;
  setPosition(dx > 0 ? dx >> 1 : 0, y_);
}

void Component::centerVertically() {
  const int dy = parentContentHeight() - height_;
  setPosition(x_, dy > 0 ? dy >> 1 : 0);
}

void Component::setParent(IComponent* parent) {
  if (parent != parent_) destroyNativeWindow();
  parent_ = parent;
  window_ = parent ? parent->getWindow() : nullptr;
  if (parent && !native_ && parent->getNativeWindow()) createNativeWindow(*parent->getNativeWindow());
}

void Component::createNativeWindow(native::NativeWindow& parentWindow) {
  native_ = parentWindow.createChild(*this);
  if (!native_) return;  // the platform refused; the native side has told the user
  if (!enabled_) native_->setEnabled(false);
  // The window starts hidden and empty: geometry stored before it existed applies now.
  pending_ = false;
  native_->setGeometry(x_ + originX_, y_ + originY_, width_, height_,
                       native::NativeWindow::kMove | native::NativeWindow::kResize, false);
  nativeWindowCreated();
}

void Component::nativeWindowCreated() {
  if (visible_) native_->setShown(true);
}

void Component::attachRootWindow(native::NativeWindow* native) {
  destroyNativeWindow();
  native_ = native;
  if (native_) nativeWindowCreated();
}

void Component::destroyNativeWindow() {
  // destroy() calls nativeWindowDestroyed on this and every descendant.
  if (native_) native_->destroy();
}

void Component::add(IComponent* child) {
  if (!child) return;
  children_.append(child);
  if (native_) {
    native_->adoptChild(*child);
  } else {
    child->setParent(this);
  }
}

IComponent* Component::getChild(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= children_.getCount()) return nullptr;
  return children_.getAs<IComponent>(static_cast<size_t>(index));
}

void Component::dropChild(size_t index, bool recursive) {
  IComponent* child = children_.getAs<IComponent>(index);
  if (recursive && child->getChildCount() > 0) child->removeAll(true);
  children_.removeRange(index, 1);
  child->setParent(nullptr);
  if (auto* poolable = dynamic_cast<thread::IPoolable*>(child)) poolable->release();
}

void Component::remove(IComponent* child, bool recursive) {
  const size_t index = children_.indexOf(child);
  if (index == col::_array::ArrayP::kAll) return;
  dropChild(index, recursive);
  relayout();
}

// One layout after all removals: laying out between them would only move windows
// that are about to go.
void Component::removeAll(bool recursive) {
  if (children_.getCount() == 0) return;
  for (size_t i = children_.getCount(); i-- > 0;) dropChild(i, recursive);
  relayout();
}

void Component::redraw() {
  if (native_) native_->redraw();
}

void Component::offerSize(int width, int height) {
  // The preferred size caps the offer, the minimum size wins over both.
  height = std::max(std::min(height, getPreferredHeight()), getMinHeight());
  width = std::max(std::min(width, getPreferredWidth()), getMinWidth());
  setSize(width, height);
  relayout();
}

void Component::beginDefer() {
  deferring_ = true;
  for (int i = 0; i < getChildCount(); ++i) getChild(i)->beginDefer();
}

void Component::endDefer() {
  deferring_ = false;
  if (pending_) {
    pending_ = false;
    setBounds(x_, y_, width_, height_);
  }
  for (int i = 0; i < getChildCount(); ++i) getChild(i)->endDefer();
}

unsigned Component::getEffectiveBackground() const {
  if (!transparent_) return background_;
  if (parent_) return parent_->getEffectiveBackground();
  return getSkin().getWindowBackground();
}

const drawer::ISkin& Component::getSkin() const {
  const IComponent* self = this;
  if (window_ && static_cast<const IComponent*>(window_) != self) return window_->getSkin();
  return drawer::ISkin::getDefault();
}

void Component::skinChanged() {
  refreshNative();
  for (int i = 0; i < getChildCount(); ++i) getChild(i)->skinChanged();
}

void Component::refreshNative() {
  if (native_) native_->refresh();
}

void Component::setBackgroundColour(unsigned colour) {
  background_ = colour;
  transparent_ = false;
  redraw();
}

void Component::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState&) {
  canvas.fillRect(area, getEffectiveBackground());
}

void Component::notify(const std::vector<events::IEventListener*>& listeners, int eventType) {
  // By index over the count at the start: a listener may register further listeners.
  const size_t count = listeners.size();
  for (size_t i = 0; i < count; ++i) listeners[i]->onEvent(this, eventType);
}

void Component::reset() {
  visible_ = true;
  // The native window goes first and takes the children's windows with it.
  destroyNativeWindow();
  for (size_t i = children_.getCount(); i-- > 0;) dropChild(i, false);
  if (auto* parent = dynamic_cast<Component*>(parent_)) {
    const size_t index = parent->children_.indexOf(static_cast<IComponent*>(this));
    if (index != col::_array::ArrayP::kAll) parent->children_.removeRange(index, 1);
  }
  restoreFields();
}

void Component::restoreFields() {
  window_ = nullptr;
  parent_ = nullptr;
  native_ = nullptr;
  visible_ = true;
  deferring_ = false;
  pending_ = false;
  enabled_ = true;
  x_ = y_ = originX_ = originY_ = width_ = height_ = 0;
  contentMinWidth_ = contentMinHeight_ = contentPreferredWidth_ = contentPreferredHeight_ = 0;
  widthPercent_ = heightPercent_ = fixedWidth_ = fixedHeight_ = -1;
  background_ = kButtonFace;
  transparent_ = true;
  children_.freeStorage();
  listeners_.clear();
  layoutListeners_.clear();
  geometryListeners_.clear();
}

}  // namespace s::gui
