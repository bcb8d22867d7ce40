#pragma once
// BoxBase: everything a box is — the general container with the four built-in layouts
// (row, column, flow, pile; see s/gui/layout/Arrange.h), margins, gaps, alignments and
// the box size rule. s::gui::win::Box is the plain box; group boxes, status bars and
// top-level windows are boxes too.
//
// The box size rule. Minimum width: 0 when the box excludes its width; else the fixed
// width when set; else left + right margin + content minimum width, raised to the
// minimum-width override when one is set. Minimum height alike (without override).
// Preferred width: the fixed width when set; else, with a width percent p and a
// parent, the parent's content width × p ÷ 100 rounded half away from zero (margins
// are not added); else left + right + the larger of the content minimum and preferred
// widths. The content sizes are those of the last layout run.
//
// Children's origins are (left margin, top margin). Margin setters refresh them,
// except when the left and the top margin are both 0: then the children keep theirs.
#include "s/gui/Component.h"
#include "s/gui/IBox.h"
#include "s/gui/drawer/IBorder.h"
#include "s/thread/Owned.h"

namespace s::gui::drawer {
class IBorder;
}

namespace s::gui {

class BoxBase : public Component, public IBox {
 public:
  int getContentWidth() const override;
  void setContentWidth(int width) override;
  int getContentHeight() const override;
  void setContentHeight(int height) override;
  int getMinWidth() const override;
  int getMinHeight() const override;
  int getPreferredWidth() const override;
  int getPreferredHeight() const override;
  bool isContainer() const override { return true; }
  void add(IComponent* child) override;
  void relayout() override { layout(); }
  void layout() override;
  ILayoutManager* getLayoutManager() const override;

  void setHorizontalGap(int gap) override;
  void setVerticalGap(int gap) override;
  void setLeftMargin(int margin) override;
  void setRightMargin(int margin) override;
  void setTopMargin(int margin) override;
  void setBottomMargin(int margin) override;
  void setHorizontalMargins(int margin) override;
  void setVerticalMargins(int margin) override;
  void setMargins(int margin) override;
  void alignTop() override { verticalAlignment_ = kTop; }
  void alignMiddle() override { verticalAlignment_ = kMiddle; }
  void alignBottom() override { verticalAlignment_ = kBottom; }
  void alignLeft() override { horizontalAlignment_ = kLeft; }
  void alignCenter() override { horizontalAlignment_ = kCenter; }
  void alignRight() override { horizontalAlignment_ = kRight; }
  int getLayoutKind() const override { return layoutKind_; }
  void useRow() override { layoutKind_ = kRow; }
  void useColumn() override { layoutKind_ = kColumn; }
  void useFlow() override { layoutKind_ = kFlow; }
  void usePile() override { layoutKind_ = kPile; }
  void fillParent() override;
  void setWidthPercent(int percent, bool relayout) override { Component::setWidthPercent(percent, relayout); }
  void setHeightPercent(int percent, bool relayout) override { Component::setHeightPercent(percent, relayout); }
  void setFixedWidth(int width, bool relayout) override { Component::setFixedWidth(width, relayout); }
  void setFixedHeight(int height, bool relayout) override { Component::setFixedHeight(height, relayout); }
  void setMinWidthOverride(int width) override { minWidthOverride_ = width < 0 ? -1 : width; }
  int getHorizontalAlignment() const override { return horizontalAlignment_; }
  int getVerticalAlignment() const override { return verticalAlignment_; }
  int getHorizontalGap() const override { return horizontalGap_; }
  int getVerticalGap() const override { return verticalGap_; }

  // The box asks for no width (height): its minimum is 0.
  void setExcludeWidth(bool exclude) { excludeWidth_ = exclude; }
  void setExcludeHeight(bool exclude) { excludeHeight_ = exclude; }
  // A layout object replacing the built-in layout (not owned), or nullptr.
  void setLayoutManager(ILayoutManager* manager) { layoutManager_ = manager; }
  int getLeftMargin() const { return leftMargin_; }
  int getRightMargin() const { return rightMargin_; }
  int getTopMargin() const { return topMargin_; }
  int getBottomMargin() const { return bottomMargin_; }
  int getContentMinWidth() const { return contentMinWidth_; }
  int getContentMinHeight() const { return contentMinHeight_; }
  int getContentPreferredWidth() const { return contentPreferredWidth_; }
  int getContentPreferredHeight() const { return contentPreferredHeight_; }
  // A border painted along the box's edge (owned), or nullptr.
  void setBorder(drawer::IBorder* border);

  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 protected:
  // Creates the children's native windows, lays out, and shows the box.
  void nativeWindowCreated() override;
  void sizeRuleChanged(bool relayout) override;
  // The parent lays out again (twice when this box is a flow: its height follows the
  // width the first run gives it).
  void relayoutParent();
  // Whether a percent size is rounded (boxes) or truncated (group boxes).
  virtual bool roundsPercent() const { return true; }
  void refreshChildOrigins();
  void setChildOrigin(IComponent& child);
  void paintBorder(drawer::ICanvas& canvas, const Rect& area);

 private:
  int percentOf(int whole, int percent) const;
  void restoreBoxFields();

  ILayoutManager* layoutManager_ = nullptr;
  int layoutKind_ = kColumn;
  int horizontalAlignment_ = kLeft;
  int verticalAlignment_ = kTop;
  int horizontalGap_ = 0;
  int verticalGap_ = 0;
  int leftMargin_ = 0;
  int rightMargin_ = 0;
  int topMargin_ = 0;
  int bottomMargin_ = 0;
  bool creatingChildren_ = false;
  bool excludeWidth_ = false;
  bool excludeHeight_ = false;
  int minWidthOverride_ = -1;
  int layoutGuard_ = 0;
  thread::Owned<drawer::IBorder> border_;
};

}  // namespace s::gui
