#include "s/gui/BoxBase.h"

#include <algorithm>
#include <cstdint>

#include "s/gui/drawer/IBorder.h"
#include "s/gui/layout/Arrange.h"
#include "s/gui/layout/FlowH.h"
#include "s/gui/native/NativeWindow.h"

namespace s::gui {

int BoxBase::getContentWidth() const { return std::max(0, getWidth() - leftMargin_ - rightMargin_); }

void BoxBase::setContentWidth(int width) { setWidth(std::max(0, width + leftMargin_ + rightMargin_)); }

int BoxBase::getContentHeight() const { return std::max(0, getHeight() - topMargin_ - bottomMargin_); }

void BoxBase::setContentHeight(int height) { setHeight(std::max(0, height + topMargin_ + bottomMargin_)); }

int BoxBase::getMinWidth() const {
  if (excludeWidth_) return 0;
  if (fixedWidth_ >= 0) return fixedWidth_;
  const int width = leftMargin_ + rightMargin_ + contentMinWidth_;
  return minWidthOverride_ >= 0 ? std::max(width, minWidthOverride_) : width;
}

int BoxBase::getMinHeight() const {
  if (excludeHeight_) return 0;
  if (fixedHeight_ >= 0) return fixedHeight_;
  return topMargin_ + bottomMargin_ + contentMinHeight_;
}

// 64-bit, and rounded half away from zero (both factors are never negative, so that
// is + 50 before dividing); group boxes truncate.
int BoxBase::percentOf(int whole, int percent) const {
  const int64_t scaled = int64_t{whole} * percent + (roundsPercent() ? 50 : 0);
  return static_cast<int>(std::min<int64_t>(INT32_MAX, scaled / 100));
}

int BoxBase::getPreferredWidth() const {
  if (fixedWidth_ >= 0) return fixedWidth_;
  if (widthPercent_ >= 0 && getParent()) return percentOf(parentContentWidth(), widthPercent_);
  return leftMargin_ + rightMargin_ + std::max(contentMinWidth_, contentPreferredWidth_);
}

int BoxBase::getPreferredHeight() const {
  if (fixedHeight_ >= 0) return fixedHeight_;
  if (heightPercent_ >= 0 && getParent()) return percentOf(parentContentHeight(), heightPercent_);
  return topMargin_ + bottomMargin_ + std::max(contentMinHeight_, contentPreferredHeight_);
}

void BoxBase::add(IComponent* child) {
  if (!child) return;
  if (!getNativeWindow()) {
    Component::add(child);
    setChildOrigin(*child);
    return;
  }
  children_.append(child);
  getNativeWindow()->adoptChild(*child);
  setChildOrigin(*child);
  layout();
  relayoutParent();
}

void BoxBase::layout() {
  // One nested run is allowed (a child's size change may ask its parent again while
  // the parent lays out); deeper re-entry would only repeat work.
  if (creatingChildren_ || layoutGuard_ >= 2) return;
  ++layoutGuard_;
  contentMinWidth_ = contentMinHeight_ = contentPreferredWidth_ = contentPreferredHeight_ = 0;
  if (getChildCount() > 0) {
    if (layoutManager_) {
      layoutManager_->layout(*this);
    } else {
      const layout::Spacing spacing{horizontalAlignment_, verticalAlignment_, horizontalGap_, verticalGap_};
      const layout::ContentSizes sizes = layout::arrange(layoutKind_, *this, spacing);
      contentMinWidth_ = sizes.minWidth;
      contentMinHeight_ = sizes.minHeight;
      contentPreferredWidth_ = sizes.preferredWidth;
      contentPreferredHeight_ = sizes.preferredHeight;
    }
  }
  notify(layoutListeners_, kEventLayout);
  --layoutGuard_;
}

ILayoutManager* BoxBase::getLayoutManager() const {
  return layoutManager_ ? layoutManager_ : &layout::FlowH::shared();
}

void BoxBase::setHorizontalGap(int gap) { horizontalGap_ = std::max(0, gap); }

void BoxBase::setVerticalGap(int gap) { verticalGap_ = std::max(0, gap); }

void BoxBase::setLeftMargin(int margin) {
  leftMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setRightMargin(int margin) {
  rightMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setTopMargin(int margin) {
  topMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setBottomMargin(int margin) {
  bottomMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setHorizontalMargins(int margin) {
  leftMargin_ = rightMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setVerticalMargins(int margin) {
  topMargin_ = bottomMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::setMargins(int margin) {
  leftMargin_ = rightMargin_ = topMargin_ = bottomMargin_ = std::max(0, margin);
  refreshChildOrigins();
}

void BoxBase::refreshChildOrigins() {
  if (leftMargin_ == 0 && topMargin_ == 0) return;
  for (int i = 0; i < getChildCount(); ++i) getChild(i)->setOrigin(leftMargin_, topMargin_);
}

void BoxBase::setChildOrigin(IComponent& child) {
  if (leftMargin_ != 0 || topMargin_ != 0) child.setOrigin(leftMargin_, topMargin_);
}

void BoxBase::fillParent() {
  widthPercent_ = 100;
  heightPercent_ = 100;
}

void BoxBase::sizeRuleChanged(bool relayout) {
  if (!relayout || !getNativeWindow()) return;
  layout();
  relayoutParent();
}

void BoxBase::relayoutParent() {
  IComponent* parent = getParent();
  if (!parent) return;
  parent->relayout();
  if (layoutKind_ == kFlow) parent->relayout();
}

void BoxBase::nativeWindowCreated() {
  // Layout waits until every child has its window; each child's own creation would
  // otherwise lay this box out again.
  creatingChildren_ = true;
  for (int i = 0; i < getChildCount(); ++i) {
    IComponent* child = getChild(i);
    getNativeWindow()->adoptChild(*child);
    setChildOrigin(*child);
  }
  creatingChildren_ = false;
  layout();
  relayoutParent();
  Component::nativeWindowCreated();
}

void BoxBase::setBorder(drawer::IBorder* border) {
  if (border_.get() != border) border_.reset(border);
  redraw();
}

void BoxBase::paintBorder(drawer::ICanvas& canvas, const Rect& area) {
  if (border_) border_->paint(canvas, area);
}

void BoxBase::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  Component::paint(canvas, area, state);
  paintBorder(canvas, area);
}

void BoxBase::reset() {
  Component::reset();
  restoreBoxFields();
}

void BoxBase::restoreBoxFields() {
  layoutManager_ = nullptr;
  layoutKind_ = kColumn;
  horizontalAlignment_ = kLeft;
  verticalAlignment_ = kTop;
  horizontalGap_ = verticalGap_ = 0;
  leftMargin_ = rightMargin_ = topMargin_ = bottomMargin_ = 0;
  creatingChildren_ = false;
  excludeWidth_ = excludeHeight_ = false;
  minWidthOverride_ = -1;
  layoutGuard_ = 0;
  border_.reset();
}

}  // namespace s::gui
