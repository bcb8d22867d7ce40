#include "s/gui/win/Spacer.h"

namespace s::gui::win {

Spacer* Spacer::newSpacer(bool vertical, int length) {
  Spacer* spacer = create();
  if (vertical) {
    spacer->setFixedHeight(length, false);
  } else {
    spacer->setFixedWidth(length, false);
  }
  return spacer;
}

}  // namespace s::gui::win
