#pragma once
#include "s/gui/IContainer.h"

namespace s::gui {

class ILayoutManager;

// The general container: one of four built-in layouts with alignments, gaps, margins
// and its own size rules. Setting gaps, alignments or the layout kind does not lay
// out by itself; the next relayout or size change does.
class IBox : public virtual IContainer {
 public:
  enum LayoutKind { kRow = 0, kColumn = 1, kFlow = 2, kPile = 3 };
  enum HorizontalAlignment { kLeft = 0, kCenter = 1, kRight = 2 };
  enum VerticalAlignment { kTop = 0, kMiddle = 1, kBottom = 2 };

  virtual void setHorizontalGap(int gap) = 0;
  virtual void setVerticalGap(int gap) = 0;
  // Each margin setter refreshes the children's origins (see s/gui/BoxBase.h).
  virtual void setLeftMargin(int margin) = 0;
  virtual void setRightMargin(int margin) = 0;
  virtual void setTopMargin(int margin) = 0;
  virtual void setBottomMargin(int margin) = 0;
  virtual void setHorizontalMargins(int margin) = 0;
  virtual void setVerticalMargins(int margin) = 0;
  virtual void setMargins(int margin) = 0;
  virtual void alignTop() = 0;
  virtual void alignMiddle() = 0;
  virtual void alignBottom() = 0;
  virtual void alignLeft() = 0;
  virtual void alignCenter() = 0;
  virtual void alignRight() = 0;
  virtual int getLayoutKind() const = 0;
  virtual void useRow() = 0;
  virtual void useColumn() = 0;
  virtual void useFlow() = 0;
  virtual void usePile() = 0;
  // Width and height percent 100.
  virtual void fillParent() = 0;
  // Each of these clears the other size rule of its axis (a percent clears the fixed
  // size and the other way round). With relayout and a native window, the box lays
  // out and then its parent (twice when the box is a flow).
  virtual void setWidthPercent(int percent, bool relayout) = 0;
  virtual void setHeightPercent(int percent, bool relayout) = 0;
  virtual void setFixedWidth(int width, bool relayout) = 0;
  virtual void setFixedHeight(int height, bool relayout) = 0;
  virtual void setMinWidthOverride(int width) = 0;

  // What the layout managers read.
  virtual int getHorizontalAlignment() const = 0;
  virtual int getVerticalAlignment() const = 0;
  virtual int getHorizontalGap() const = 0;
  virtual int getVerticalGap() const = 0;
};

}  // namespace s::gui
