#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::window::win {

// There are no window regions here: windows keep their rectangle.
void* Thin::createRegion(int, int) const { return nullptr; }

}  // namespace s::gui::drawer::window::win
