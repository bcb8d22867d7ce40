#include "s/gui/drawer/skin/Thin.h"

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
#include "s/gui/drawer/slider/win/Thin.h"
#include "s/gui/drawer/statusbar/win/Thin.h"
#include "s/gui/drawer/tabbox/win/Thin.h"
#include "s/gui/drawer/text/win/Basic.h"
#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::skin {

namespace {

// The light grey of every second list row in this family.
constexpr Rgb kAlternateRow{243, 243, 243};

}  // namespace

Thin* Thin::newThinSkin(std::u16string_view name, const Rgb (&colours)[6]) {
  const Rgb background = colours[0], frame = colours[1], text = colours[2], c4 = colours[3], c5 = colours[4],
            c6 = colours[5];
  Thin* skin = create();
  skin->setSkinName(name);

  auto* window = window::win::Thin::create();
  window->setFrameColour(frame);
  window->setBackgroundColour(background);
  skin->setWindowDrawer(window);

  auto* button = button::win::Thin::create();
  button->setFrameColour(frame);
  button->setTextColour(text);
  button->setPressedTextColour(text);
  skin->setButtonDrawer(button);

  auto* textDrawer = text::win::Basic::create();
  textDrawer->setTextColours(text, text, text);
  skin->setTextDrawer(textDrawer);

  auto* scrollBar = scrollbar::win::Thin::create();
  scrollBar->setColours(frame, background);
  skin->setScrollBarDrawer(scrollBar);

  auto* checkBox = checkbox::win::Thin::create();
  checkBox->setColours(frame, text);
  checkBox->setMarkColour(text);
  skin->setCheckBoxDrawer(checkBox);

  auto* radioButton = radiobutton::win::Thin::create();
  radioButton->setColours(frame, text);
  radioButton->setMarkColour(text);
  skin->setRadioButtonDrawer(radioButton);

  auto* slider = slider::win::Thin::create();
  slider->setColours(frame, c4);
  skin->setSliderDrawer(slider);

  auto* counter = counter::win::Basic::create();
  counter->setColours(c5, c6);
  skin->setCounterDrawer(counter);

  auto* listHeader = listheader::win::Thin::create();
  listHeader->setColours(frame, background);
  listHeader->setTextColour(text);
  skin->setListHeaderDrawer(listHeader);

  auto* listBox = listbox::win::Thin::create();
  listBox->setColours(background, text, frame, background, kAlternateRow);
  skin->setListBoxDrawer(listBox);

  auto* statusBar = statusbar::win::Thin::create();
  statusBar->setLineColour(frame);
  skin->setStatusBarDrawer(statusBar);

  auto* menu = menu::win::Basic::create();
  menu->setColours(text, frame, background);
  skin->setMenuDrawer(menu);

  auto* combo = combo::win::Thin::create();
  combo->setColours(text, frame);
  combo->setItemTextColour(text);
  skin->setComboDrawer(combo);

  auto* groupBox = groupbox::win::Thin::create();
  groupBox->setFrameColour(frame);
  groupBox->setSubColours(text, text);
  skin->setGroupBoxDrawer(groupBox);

  auto* tabBox = tabbox::win::Thin::create();
  tabBox->setFrameColour(frame);
  skin->setTabBoxDrawer(tabBox);
  return skin;
}

}  // namespace s::gui::drawer::skin
