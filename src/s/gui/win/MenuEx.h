#pragma once
// A menu: a bar of a window, or a drop-down menu in it. It holds its items (commands
// with an id, separators, sub-menus it owns) with their check marks and enabled state;
// the native menu shows them, painted by the skin's menu drawer. When the user chooses
// a command anywhere below a bar, the bar's listeners receive (bar, kEventCommand) and
// read the id with getCommand.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "s/base/IObject.h"
#include "s/gui/Geometry.h"
#include "s/gui/drawer/PaintState.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer {
class ICanvas;
class ISkin;
}  // namespace s::gui::drawer

namespace s::gui::win {

class MenuExBases : public base::IObject, public thread::IPoolable {};

class MenuEx final : public thread::PooledObject<MenuEx, MenuExBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_MenuEx";
  static constexpr int kEventCommand = 1;

  struct Item {
    int id = 0;
    std::u16string text;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
    bool inBar = false;         // an item of a menu bar
    MenuEx* subMenu = nullptr;  // owned
  };

  MenuEx() = default;
  ~MenuEx() override;

  void addItem(int id, std::u16string_view text);
  void addSeparator();
  // A new sub-menu under an item named text; this menu owns it.
  MenuEx* addSubMenu(std::u16string_view text);
  // Finds the command id here or in a sub-menu (nullptr when there is none).
  Item* findItem(int id);
  void setChecked(int id, bool checked);
  bool isChecked(int id);
  void setEnabled(int id, bool enabled);
  void setItemText(int id, std::u16string_view text);
  int getItemCount() const { return static_cast<int>(items_.size()); }
  const Item& getItem(int index) const { return *items_[static_cast<size_t>(index)]; }

  void addListener(events::IEventListener* listener) { listeners_.push_back(listener); }
  // The id of the last chosen command.
  int getCommand() const { return command_; }

  // Called by the window when the user chose command id.
  void nativeCommand(int id);
  // The native menu (a Win32 HMENU, kept by this object), built on first use: a menu
  // bar when bar is true, else a drop-down menu; nullptr where there are no native menus.
  void* getNativeMenu(bool bar);
  // Brings the native menu's background in line with skin.
  void applySkin(const drawer::ISkin& skin);
  void destroyNativeMenu();

  // Owner drawing of an item: its size, and its painting.
  static Size measureItem(const Item& item, drawer::ICanvas& canvas);
  static void paintItem(const Item& item, drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state,
                        const drawer::ISkin& skin);

  void reset() override;

 private:
  // Applies an item's check mark, state and text to the native menu.
  void syncItem(const Item& item);

  std::vector<std::unique_ptr<Item>> items_;
  std::vector<events::IEventListener*> listeners_;
  int command_ = 0;
  void* nativeMenu_ = nullptr;
  void* backgroundBrush_ = nullptr;
};

}  // namespace s::gui::win
