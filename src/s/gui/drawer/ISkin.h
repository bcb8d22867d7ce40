#pragma once
// A skin: a named set of drawers, one per component kind, all configured from one
// colour theme. The skin owns its drawers: a setter releases the drawer it replaces,
// and reset releases all of them. The getters return drawers the skin keeps.
#include <string_view>

#include "s/base/IObject.h"
#include "s/gui/drawer/Colour.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

class IWindow;
class IButton;
class IText;
class IScrollBar;
class ICheckBox;
class IRadioButton;
class ISlider;
class ICounter;
class IListHeader;
class IListBox;
class IStatusBar;
class IMenu;
class ICombo;
class IGroupBox;
class ITabBox;

class ISkin : public base::IObject, public thread::IPoolable {
 public:
  ISkin() = default;
  ~ISkin() override;
  ISkin(const ISkin&) = delete;
  ISkin& operator=(const ISkin&) = delete;

  // The name, which the skin is chosen and stored by.
  virtual std::u16string_view getSkinName() const { return name_.view(); }
  virtual void setSkinName(std::u16string_view name) { name_.assign(name); }
  virtual IWindow* getWindowDrawer() const { return window_; }
  virtual void setWindowDrawer(IWindow* drawer);
  virtual IButton* getButtonDrawer() const { return button_; }
  virtual void setButtonDrawer(IButton* drawer);
  virtual IText* getTextDrawer() const { return text_; }
  virtual void setTextDrawer(IText* drawer);
  virtual IScrollBar* getScrollBarDrawer() const { return scrollBar_; }
  virtual void setScrollBarDrawer(IScrollBar* drawer);
  virtual ICheckBox* getCheckBoxDrawer() const { return checkBox_; }
  virtual void setCheckBoxDrawer(ICheckBox* drawer);
  virtual IRadioButton* getRadioButtonDrawer() const { return radioButton_; }
  virtual void setRadioButtonDrawer(IRadioButton* drawer);
  virtual ISlider* getSliderDrawer() const { return slider_; }
  virtual void setSliderDrawer(ISlider* drawer);
  virtual ICounter* getCounterDrawer() const { return counter_; }
  virtual void setCounterDrawer(ICounter* drawer);
  virtual IListHeader* getListHeaderDrawer() const { return listHeader_; }
  virtual void setListHeaderDrawer(IListHeader* drawer);
  virtual IListBox* getListBoxDrawer() const { return listBox_; }
  virtual void setListBoxDrawer(IListBox* drawer);
  virtual IStatusBar* getStatusBarDrawer() const { return statusBar_; }
  virtual void setStatusBarDrawer(IStatusBar* drawer);
  virtual IMenu* getMenuDrawer() const { return menu_; }
  virtual void setMenuDrawer(IMenu* drawer);
  virtual ICombo* getComboDrawer() const { return combo_; }
  virtual void setComboDrawer(ICombo* drawer);
  virtual IGroupBox* getGroupBoxDrawer() const { return groupBox_; }
  virtual void setGroupBoxDrawer(IGroupBox* drawer);
  virtual ITabBox* getTabBoxDrawer() const { return tabBox_; }
  virtual void setTabBoxDrawer(ITabBox* drawer);

  // The window drawer's background: what a window and its transparent components show.
  Colour getWindowBackground() const;
  void reset() override;

  // The skin of windows that have none of their own (see Skinner.cpp); never released.
  static const ISkin& getDefault();

 private:
  str::strbuffer::StrBuffer name_;
  IWindow* window_ = nullptr;
  IButton* button_ = nullptr;
  IText* text_ = nullptr;
  IScrollBar* scrollBar_ = nullptr;
  ICheckBox* checkBox_ = nullptr;
  IRadioButton* radioButton_ = nullptr;
  ISlider* slider_ = nullptr;
  ICounter* counter_ = nullptr;
  IListHeader* listHeader_ = nullptr;
  IListBox* listBox_ = nullptr;
  IStatusBar* statusBar_ = nullptr;
  IMenu* menu_ = nullptr;
  ICombo* combo_ = nullptr;
  IGroupBox* groupBox_ = nullptr;
  ITabBox* tabBox_ = nullptr;
};

}  // namespace s::gui::drawer
