#include "s/gui/drawer/skin/ThinWindow.h"

#include "s/gui/drawer/button/win/Thin.h"
#include "s/gui/drawer/checkbox/win/Thin.h"
#include "s/gui/drawer/combo/win/Thin.h"
#include "s/gui/drawer/counter/win/Basic.h"
#include "s/gui/drawer/groupbox/win/Thin.h"
#include "s/gui/drawer/listbox/win/Thin.h"
#include "s/gui/drawer/listheader/win/Thin.h"
#include "s/gui/drawer/menu/win/Basic.h"
#include "s/gui/drawer/radiobutton/win/Thin.h"
#include "s/gui/drawer/scrollbar/win/Thin.h"
#include "s/gui/drawer/skin/Themes.h"
#include "s/gui/drawer/slider/win/Thin.h"
#include "s/gui/drawer/statusbar/win/Thin.h"
#include "s/gui/drawer/tabbox/win/Thin.h"
#include "s/gui/drawer/text/win/Basic.h"
#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::skin {

ThinWindow* ThinWindow::newThinWindowSkin(int id) {
  const ThinWindowTheme* theme = findThinWindowTheme(id);
  return theme ? build(theme->name, theme->colours) : nullptr;
}

ThinWindow* ThinWindow::build(std::u16string_view name, const Rgb (&colours)[15]) {
  // c1 … c15 as the themes number them.
  const Rgb c1 = colours[0], c2 = colours[1], c3 = colours[2], c4 = colours[3], c5 = colours[4], c6 = colours[5],
            c7 = colours[6], c8 = colours[7], c9 = colours[8], c10 = colours[9], c11 = colours[10],
            c12 = colours[11], c13 = colours[12], c14 = colours[13], c15 = colours[14];
  ThinWindow* skin = create();
  skin->setSkinName(name);

  auto* window = window::win::Thin::create();
  window->setFrameColour(c2);
  window->setBackgroundColour(c1);
  window->setTopCornerStyle(window::win::Thin::kSquare);
  window->setBottomCornerStyle(window::win::Thin::kSquare);
  skin->setWindowDrawer(window);

  auto* button = button::win::Thin::create();
  button->setFrameColour(c4);
  button->setFaceColour(c3);
  button->setHotFrameColour(c4);
  button->setPressedFaceColour(c9);
  button->setTextColour(c6);
  button->setHotFaceColour(c3);
  button->setPressedTextColour(c10);
  skin->setButtonDrawer(button);

  auto* text = text::win::Basic::create();
  text->setTextColours(c6, c1, c7);
  text->setSubColours(c3, c6, c4);
  skin->setTextDrawer(text);

  auto* scrollBar = scrollbar::win::Thin::create();
  scrollBar->setColours(c4, c8);
  skin->setScrollBarDrawer(scrollBar);

  auto* checkBox = checkbox::win::Thin::create();
  checkBox->setColours(c4, c6);
  checkBox->setMarkColour(c3);
  skin->setCheckBoxDrawer(checkBox);

  auto* radioButton = radiobutton::win::Thin::create();
  radioButton->setColours(c4, c6);
  radioButton->setMarkColour(c3);
  skin->setRadioButtonDrawer(radioButton);

  auto* slider = slider::win::Thin::create();
  slider->setColours(c4, c8);
  slider->setThumbColour(c3);
  skin->setSliderDrawer(slider);

  auto* counter = counter::win::Basic::create();
  counter->setColours(c14, c15);
  skin->setCounterDrawer(counter);

  auto* listHeader = listheader::win::Thin::create();
  listHeader->setColours(c4, c9);
  listHeader->setTextColour(c10);
  skin->setListHeaderDrawer(listHeader);

  auto* listBox = listbox::win::Thin::create();
  listBox->setColours(c11, c12, c9, c10, c13);
  skin->setListBoxDrawer(listBox);

  auto* statusBar = statusbar::win::Thin::create();
  statusBar->setLineColour(c4);
  skin->setStatusBarDrawer(statusBar);

  auto* menu = menu::win::Basic::create();
  menu->setColours(c6, c4, c1);
  menu->setSubColours(c6, c4, c6);
  skin->setMenuDrawer(menu);

  auto* combo = combo::win::Thin::create();
  combo->setColours(c6, c4);
  combo->setItemTextColour(c6);
  skin->setComboDrawer(combo);

  auto* groupBox = groupbox::win::Thin::create();
  groupBox->setFrameColour(c5);
  groupBox->setSubColours(c6, c6);
  skin->setGroupBoxDrawer(groupBox);

  auto* tabBox = tabbox::win::Thin::create();
  tabBox->setFrameColour(c4);
  tabBox->setSubColours(c6, c6, c6);
  skin->setTabBoxDrawer(tabBox);
  return skin;
}

}  // namespace s::gui::drawer::skin
