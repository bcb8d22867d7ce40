#include "s/gui/win/MenuEx.h"

#include "s/gui/drawer/ICanvas.h"
#include "s/gui/drawer/IMenu.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win {

namespace {

// Room around an item's text: at the sides of a bar item, and in a drop-down menu
// the check column (a line wide) plus the space around the text.
constexpr int kBarPaddingX = 6;
constexpr int kBarPaddingY = 2;
constexpr int kMenuPaddingX = 18;
constexpr int kMenuPaddingY = 3;
constexpr int kSeparatorHeight = 7;

}  // namespace

MenuEx::~MenuEx() { reset(); }

void MenuEx::addItem(int id, std::u16string_view text) {
  auto item = std::make_unique<Item>();
  item->id = id;
  item->text = text;
  items_.push_back(std::move(item));
}

void MenuEx::addSeparator() {
  auto item = std::make_unique<Item>();
  item->separator = true;
  items_.push_back(std::move(item));
}

MenuEx* MenuEx::addSubMenu(std::u16string_view text) {
  auto item = std::make_unique<Item>();
  item->text = text;
  item->subMenu = create();
  MenuEx* subMenu = item->subMenu;
  items_.push_back(std::move(item));
  return subMenu;
}

MenuEx::Item* MenuEx::findItem(int id) {
  for (auto& item : items_) {
    if (item->subMenu) {
      if (Item* found = item->subMenu->findItem(id)) return found;
    } else if (!item->separator && item->id == id) {
      return item.get();
    }
  }
  return nullptr;
}

void MenuEx::setChecked(int id, bool checked) {
  if (Item* item = findItem(id)) {
    item->checked = checked;
    syncItem(*item);
  }
}

bool MenuEx::isChecked(int id) {
  const Item* item = findItem(id);
  return item && item->checked;
}

void MenuEx::setEnabled(int id, bool enabled) {
  if (Item* item = findItem(id)) {
    item->enabled = enabled;
    syncItem(*item);
  }
}

void MenuEx::setItemText(int id, std::u16string_view text) {
  if (Item* item = findItem(id)) {
    item->text = text;
    syncItem(*item);
  }
}

void MenuEx::nativeCommand(int id) {
  command_ = id;
  const size_t count = listeners_.size();
  for (size_t i = 0; i < count; ++i) listeners_[i]->onEvent(this, kEventCommand);
}

Size MenuEx::measureItem(const Item& item, drawer::ICanvas& canvas) {
  const Size text = canvas.measureText(item.text);
  if (item.separator) return {text.height, kSeparatorHeight};
  if (item.inBar) return {text.width + 2 * kBarPaddingX, text.height + 2 * kBarPaddingY};
  return {text.width + text.height + 2 * kMenuPaddingX, text.height + 2 * kMenuPaddingY};
}

void MenuEx::paintItem(const Item& item, drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state,
                       const drawer::ISkin& skin) {
  const drawer::IMenu& drawer = *skin.getMenuDrawer();
  if (item.separator) {
    drawer.paintSeparator(canvas, area);
  } else {
    drawer::PaintState current = state;
    current.checked = item.checked;
    current.disabled = current.disabled || !item.enabled;
    drawer.paintItem(canvas, area, item.text, current, item.inBar);
  }
}

void MenuEx::reset() {
  destroyNativeMenu();
  for (auto& item : items_) {
    if (item->subMenu) item->subMenu->release();
  }
  items_.clear();
  listeners_.clear();
  command_ = 0;
}

}  // namespace s::gui::win
