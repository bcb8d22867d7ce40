#include <windows.h>

#include "s/gui/drawer/IMenu.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/win/MenuEx.h"

namespace s::gui::win {

void* MenuEx::getNativeMenu(bool bar) {
  if (nativeMenu_) return nativeMenu_;
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  for (auto& item : items_) {
    item->inBar = bar;
    // Owner-drawn: the item's data is the Item, which stays at its address.
    const auto data = reinterpret_cast<LPCWSTR>(item.get());
    UINT flags = MF_OWNERDRAW | (item->checked ? MF_CHECKED : 0) | (item->enabled ? 0 : MF_GRAYED);
    if (item->separator) {
      AppendMenuW(menu, MF_SEPARATOR | MF_OWNERDRAW, 0, data);
    } else if (item->subMenu) {
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(item->subMenu->getNativeMenu(false)), data);
    } else {
      AppendMenuW(menu, flags, static_cast<UINT_PTR>(item->id), data);
    }
  }
  nativeMenu_ = menu;
  return nativeMenu_;
}

void MenuEx::applySkin(const drawer::ISkin& skin) {
  if (!nativeMenu_) return;
  HBRUSH brush = CreateSolidBrush(skin.getMenuDrawer()->getBackgroundColour());
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = brush;
  SetMenuInfo(static_cast<HMENU>(nativeMenu_), &info);
  if (backgroundBrush_) DeleteObject(static_cast<HBRUSH>(backgroundBrush_));
  backgroundBrush_ = brush;
}

void MenuEx::destroyNativeMenu() {
  // Destroying a menu destroys its drop-down menus too: they only forget theirs.
  for (auto& item : items_) {
    if (item->subMenu) item->subMenu->nativeMenu_ = nullptr;
  }
  for (auto& item : items_) {
    if (item->subMenu) item->subMenu->destroyNativeMenu();
  }
  if (nativeMenu_) DestroyMenu(static_cast<HMENU>(nativeMenu_));
  nativeMenu_ = nullptr;
  if (backgroundBrush_) DeleteObject(static_cast<HBRUSH>(backgroundBrush_));
  backgroundBrush_ = nullptr;
}

void MenuEx::syncItem(const Item& item) {
  if (!nativeMenu_) return;
  HMENU menu = static_cast<HMENU>(nativeMenu_);
  CheckMenuItem(menu, static_cast<UINT>(item.id), MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
  EnableMenuItem(menu, static_cast<UINT>(item.id), MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace s::gui::win
