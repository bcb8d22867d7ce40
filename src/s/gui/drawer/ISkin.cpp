#include "s/gui/drawer/ISkin.h"

#include <type_traits>

#include "s/gui/drawer/IButton.h"
#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/ICombo.h"
#include "s/gui/drawer/ICounter.h"
#include "s/gui/drawer/IGroupBox.h"
#include "s/gui/drawer/IListBox.h"
#include "s/gui/drawer/IListHeader.h"
#include "s/gui/drawer/IMenu.h"
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/IScrollBar.h"
#include "s/gui/drawer/ISlider.h"
#include "s/gui/drawer/IStatusBar.h"
#include "s/gui/drawer/ITabBox.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/drawer/IWindow.h"

namespace s::gui::drawer {

namespace {

// Stores drawer in slot, releasing the drawer it held unless it is the same one.
template <class Drawer>
void replace(Drawer*& slot, std::type_identity_t<Drawer>* drawer) {
  if (slot && slot != drawer) slot->release();
  slot = drawer;
}

}  // namespace

ISkin::~ISkin() { reset(); }

void ISkin::setWindowDrawer(IWindow* drawer) { replace(window_, drawer); }

void ISkin::setButtonDrawer(IButton* drawer) { replace(button_, drawer); }

void ISkin::setTextDrawer(IText* drawer) { replace(text_, drawer); }

void ISkin::setScrollBarDrawer(IScrollBar* drawer) { replace(scrollBar_, drawer); }

void ISkin::setCheckBoxDrawer(ICheckBox* drawer) { replace(checkBox_, drawer); }

void ISkin::setRadioButtonDrawer(IRadioButton* drawer) { replace(radioButton_, drawer); }

void ISkin::setSliderDrawer(ISlider* drawer) { replace(slider_, drawer); }

void ISkin::setCounterDrawer(ICounter* drawer) { replace(counter_, drawer); }

void ISkin::setListHeaderDrawer(IListHeader* drawer) { replace(listHeader_, drawer); }

void ISkin::setListBoxDrawer(IListBox* drawer) { replace(listBox_, drawer); }

void ISkin::setStatusBarDrawer(IStatusBar* drawer) { replace(statusBar_, drawer); }

void ISkin::setMenuDrawer(IMenu* drawer) { replace(menu_, drawer); }

void ISkin::setComboDrawer(ICombo* drawer) { replace(combo_, drawer); }

void ISkin::setGroupBoxDrawer(IGroupBox* drawer) { replace(groupBox_, drawer); }

void ISkin::setTabBoxDrawer(ITabBox* drawer) { replace(tabBox_, drawer); }

Colour ISkin::getWindowBackground() const {
  if (!window_ || window_->isTransparent()) return 0x00FFFFFF;
  return window_->getBackgroundColour();
}

void ISkin::reset() {
  name_.reset();
  replace(window_, nullptr);
  replace(button_, nullptr);
  replace(text_, nullptr);
  replace(scrollBar_, nullptr);
  replace(checkBox_, nullptr);
  replace(radioButton_, nullptr);
  replace(slider_, nullptr);
  replace(counter_, nullptr);
  replace(listHeader_, nullptr);
  replace(listBox_, nullptr);
  replace(statusBar_, nullptr);
  replace(menu_, nullptr);
  replace(combo_, nullptr);
  replace(groupBox_, nullptr);
  replace(tabBox_, nullptr);
}

}  // namespace s::gui::drawer
