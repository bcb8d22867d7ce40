#include "s/gui/win/TopLevelBase.h"

namespace s::gui::win {

// No native menus here: the menu bar is only kept.
void TopLevelBase::attachMenuBar() {}

}  // namespace s::gui::win
