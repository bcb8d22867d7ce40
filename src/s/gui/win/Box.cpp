#include "s/gui/win/Box.h"

namespace s::gui::win {

Box* Box::newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                 int horizontalGap, int verticalGap, int horizontalMargins, int verticalMargins, int layoutKind) {
  Box* box = create();
  switch (layoutKind) {
    case kRow: box->useRow(); break;
    case kFlow: box->useFlow(); break;
    case kPile: box->usePile(); break;
    default: box->useColumn(); break;
  }
  if (widthPercent >= 0) box->setWidthPercent(widthPercent, true);
  if (heightPercent >= 0) box->setHeightPercent(heightPercent, true);
  if (horizontalAlignment <= 0) {
    box->alignLeft();
  } else if (horizontalAlignment == 1) {
    box->alignCenter();
  } else {
    box->alignRight();
  }
  if (verticalAlignment <= 0) {
    box->alignTop();
  } else if (verticalAlignment == 1) {
    box->alignMiddle();
  } else {
    box->alignBottom();
  }
  if (horizontalGap > 0) box->setHorizontalGap(horizontalGap);
  if (verticalGap > 0) box->setVerticalGap(verticalGap);
  if (horizontalMargins > 0) box->setHorizontalMargins(horizontalMargins);
  if (verticalMargins > 0) box->setVerticalMargins(verticalMargins);
  return box;
}

}  // namespace s::gui::win
