#include "s/gui/win/GroupBox.h"

#include <algorithm>

#include "s/gui/drawer/IGroupBox.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/PaintState.h"

namespace s::gui::win {

GroupBox::GroupBox() { usePile(); }

void GroupBox::setTitle(std::u16string_view title) {
  title_.assign(title);
  measureTitle();
  redraw();
}

void GroupBox::setContent(IComponent* component) {
  if (component == content_) return;
  if (content_) remove(content_, true);
  content_ = component;
  if (content_) add(content_);
}

void GroupBox::setFrameColour(drawer::Rgb colour) {
  frame_ = drawer::toColour(colour);
  redraw();
}

int GroupBox::getMinWidth() const {
  if (fixedWidth_ >= 0) return fixedWidth_;
  return std::max(titleExtent_.width + kTitleRoom, getLeftMargin() + getRightMargin() + contentMinWidth_);
}

int GroupBox::getMinHeight() const {
  if (fixedHeight_ >= 0) return fixedHeight_;
  return getTopMargin() + getBottomMargin() + contentMinHeight_;
}

void GroupBox::nativeWindowCreated() {
  BoxBase::nativeWindowCreated();
  measureTitle();
}

void GroupBox::measureTitle() {
  if (!getNativeWindow()) return;
  titleExtent_ = measureText(title_.view());
  // One call per margin would refresh the children's origins four times; the setters
  // of the left and top margin refresh them, so they go last.
  setRightMargin(kSideMargin);
  setBottomMargin(kSideMargin);
  setLeftMargin(kSideMargin);
  setTopMargin(titleExtent_.height + 1);
  layout();
  relayoutParent();
}

void GroupBox::paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) {
  drawer::PaintState current = state;
  current.background = getEffectiveBackground();
  current.disabled = current.disabled || !isEnabled();
  getSkin().getGroupBoxDrawer()->paint(canvas, area, title_.view(), titleExtent_.height, frame_, current);
  paintBorder(canvas, area);
}

void GroupBox::reset() {
  BoxBase::reset();
  usePile();
  title_.reset();
  content_ = nullptr;
  frame_ = drawer::kNoColour;
  titleExtent_ = {};
}

}  // namespace s::gui::win
