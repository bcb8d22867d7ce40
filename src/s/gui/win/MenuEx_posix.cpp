#include "s/gui/win/MenuEx.h"

namespace s::gui::win {

// No native menus here: the menu exists as its items only.
void* MenuEx::getNativeMenu(bool) { return nullptr; }
void MenuEx::applySkin(const drawer::ISkin&) {}
void MenuEx::destroyNativeMenu() {}
void MenuEx::syncItem(const Item&) {}

}  // namespace s::gui::win
