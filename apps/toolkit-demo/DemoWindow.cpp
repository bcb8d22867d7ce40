#include "DemoWindow.h"

#include <string>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/border/win/Plain.h"
#include "s/gui/drawer/border/win/UnderWindowMenu.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/HostWindow.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/StatusBar.h"
#include "s/gui/win/TextField.h"

namespace demo {

namespace {

using namespace s::gui;
using namespace s::gui::win;

// Menu command ids: a skin of a family is its family's base plus its index.
constexpr int kThinWindowSkinBase = 1000;
constexpr int kThinSkinBase = 2000;
constexpr int kKeepOnTopCommand = 100;

// The grey of the drop box's and the pages' frames, and the orange of the format hint
// (a label with a colour of its own, readable on light and dark skins alike).
constexpr drawer::Rgb kFrameGrey{145, 155, 156};
constexpr drawer::Rgb kHintOrange{255, 165, 0};

// The skins the flow of buttons offers.
constexpr const char16_t* kQuickSkins[] = {u"White", u"Black", u"Classic LG", u"Sky Blue", u"Pink", u"Khaki"};

Label* newLabel(std::u16string_view text) {
  Label* label = Label::create();
  label->setText(text);
  return label;
}

TextField* newField(std::u16string_view text, int width) {
  TextField* field = TextField::create();
  field->setText(text);
  field->setFixedWidth(width, false);
  return field;
}

// A group box titled title around a column box holding child.
GroupBox* newGroup(std::u16string_view title, IComponent* child) {
  GroupBox* group = GroupBox::create();
  group->setTitle(title);
  group->setWidthPercent(100, false);
  Box* inner = Box::newBox(100, 100, 0, 0, 10, 5, 20, 3, IBox::kColumn);
  inner->add(child);
  group->setContent(inner);
  return group;
}

}  // namespace

DemoWindow::DemoWindow()
    : thinWindowSkins_(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThinWindow)),
      thinSkins_(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThin)),
      menu_(MenuEx::create()),
      window_(HostWindow::create()) {
  buildMenu();
  window_->setMenuBar(menu_.get());
  window_->setQuitOnClose(true);

  // A strip under the menu bar, the main area, and the status bar.
  Box* strip = Box::newBox(100, -1, 0, 0, 0, 0, 0, 0, IBox::kColumn);
  strip->setFixedHeight(7, false);
  strip->setBorder(drawer::border::win::UnderWindowMenu::create());
  Box* main = Box::newBox(100, 100, 0, 0, 10, 7, 8, 0, IBox::kRow);
  main->add(buildDropArea());
  main->add(buildControls());
  window_->add(strip);
  window_->add(main);
  window_->add(Spacer::newSpacer(true, 3));
  window_->add(buildStatusBar());
}

DemoWindow::~DemoWindow() {
  // The window's components go first: they paint with the skinners' skins.
  window_.reset();
}

void DemoWindow::buildMenu() {
  MenuEx* skins = menu_->addSubMenu(u"Skin");
  MenuEx* windowFamily = skins->addSubMenu(u"ThinWindow");
  for (int i = 0; i < thinWindowSkins_->getSkinCount(); ++i) {
    windowFamily->addItem(kThinWindowSkinBase + i, thinWindowSkins_->getSkinName(i));
  }
  MenuEx* thinFamily = skins->addSubMenu(u"Thin");
  for (int i = 0; i < thinSkins_->getSkinCount(); ++i) thinFamily->addItem(kThinSkinBase + i, thinSkins_->getSkinName(i));
  MenuEx* view = menu_->addSubMenu(u"View");
  view->addItem(kKeepOnTopCommand, u"Keep on Top");
  view->setChecked(kKeepOnTopCommand, true);
  menu_->addListener(this);
}

Box* DemoWindow::buildDropArea() {
  // Column: a check box between two spacers, then the drop box filling the rest.
  Box* area = Box::newBox(-1, 100, 1, 0, 0, 0, 0, 0, IBox::kColumn);
  area->setMinWidthOverride(125);
  Box* checkColumn = Box::newBox(-1, -1, 0, 1, 0, 0, 0, 0, IBox::kColumn);
  keepOnTop_ = CheckBox::create();
  keepOnTop_->setText(u"Keep on Top");
  keepOnTop_->setChecked(true);
  keepOnTop_->addListener(this);
  checkColumn->add(Spacer::newSpacer(true, 5));
  checkColumn->add(keepOnTop_);
  checkColumn->add(Spacer::newSpacer(true, 9));

  GroupBox* dropBox = GroupBox::create();
  dropBox->setTitle(u"Drop Box");
  dropBox->fillParent();
  dropBox->setFrameColour(kFrameGrey);
  Box* hints = Box::newBox(100, 100, 0, 1, 0, 0, 10, 0, IBox::kColumn);
  Label* hint = newLabel(u"Please drop image files here!");
  Label* formats = newLabel(u"(.jpg, .gif, .png, .bmp)");
  formats->setTextColour(kHintOrange);
  hints->add(hint);
  hints->add(newLabel(u""));
  hints->add(formats);
  hints->add(newLabel(u""));
  dropBox->setContent(hints);

  area->add(checkColumn);
  area->add(dropBox);
  return area;
}

Box* DemoWindow::buildControls() {
  Box* controls = Box::newBox(100, 100, 0, 1, 0, 4, 0, 0, IBox::kColumn);
  Box* choiceRow = Box::newBox(100, -1, 0, 1, 0, 0, 0, 0, IBox::kRow);
  choice_ = ComboBox::create();
  choice_->addItem(u"Tile");
  choice_->addItem(u"Flat");
  choice_->setSelected(0);
  choice_->addListener(this);
  choiceRow->add(newLabel(u"Create:\u00A0"));
  choiceRow->add(choice_);

  Box* buttonRow = Box::newBox(100, -1, 0, 0, 0, 0, 0, 0, IBox::kRow);
  viewButton_ = Button::create();
  viewButton_->setText(u"<< Minimize");
  viewButton_->setWidthPercent(100, false);
  viewButton_->addListener(this);
  buttonRow->add(viewButton_);

  controls->add(choiceRow);
  controls->add(buildPages());
  controls->add(buildSkinFlow());
  controls->add(buttonRow);
  return controls;
}

Box* DemoWindow::buildPages() {
  // A pile of two pages; the choice list shows one of them.
  pages_ = Box::newBox(100, 100, 0, 0, 0, 0, 0, 0, IBox::kPile);
  auto* border = drawer::border::win::Plain::create();
  border->setColour(kFrameGrey);
  pages_->setBorder(border);

  Box* tile = Box::newBox(100, -1, 0, 0, 0, 10, 10, 10, IBox::kColumn);
  tile->add(newGroup(u"Title", newField(u"Thumbnail (Tile)", 100)));
  Box* sizeRow = Box::newBox(100, -1, 0, 1, 0, 0, 0, 0, IBox::kRow);
  sizeRow->add(newLabel(u"Width:\u00A0"));
  sizeRow->add(newField(u"150", 32));
  sizeRow->add(Spacer::newSpacer(false, 10));
  sizeRow->add(newLabel(u"Height:\u00A0"));
  sizeRow->add(newField(u"150", 32));
  tile->add(newGroup(u"Sample Image Size (Pixel)", sizeRow));

  Box* flat = Box::newBox(100, -1, 0, 0, 0, 10, 10, 10, IBox::kColumn);
  flat->add(newGroup(u"Title", newField(u"Thumbnail (Flat)", 100)));
  flat->setVisible(false, true);

  pages_->add(tile);
  pages_->add(flat);
  return pages_;
}

Box* DemoWindow::buildSkinFlow() {
  // Buttons in a flow that wraps with the window's width; each one chooses a skin.
  skinFlow_ = Box::newBox(100, -1, 0, 0, 4, 4, 0, 0, IBox::kFlow);
  for (const char16_t* name : kQuickSkins) {
    Button* button = Button::create();
    button->setText(name);
    button->addListener(this);
    skinFlow_->add(button);
  }
  return skinFlow_;
}

IComponent* DemoWindow::buildStatusBar() {
  StatusBar* bar = StatusBar::create();
  Box* texts = Box::newBox(100, 100, 0, 1, 0, 0, 2, 0, IBox::kRow);
  status_ = newLabel(u"Ready");
  texts->add(status_);
  texts->add(newLabel(u""));
  Box* linkGroup = Box::newBox(-1, 100, 0, 1, 0, 0, 3, 0, IBox::kRow);
  Label* link = newLabel(u"tarn");
  link->setLinkMode(true);
  link->addListener(this);
  linkGroup->add(link);
  Box* progressGroup = Box::newBox(-1, 100, 0, 1, 0, 0, 2, 0, IBox::kRow);
  progress_ = ProgressBar::create();
  progress_->setRange(0, 100);
  progress_->setPosition(60);
  progressGroup->add(progress_);
  bar->add(texts);
  bar->add(linkGroup);
  bar->add(progressGroup);
  return bar;
}

bool DemoWindow::open(int x, int y) {
  if (!window_->open(u"Toolkit demo", 470, 400)) return false;
  if (x >= 0) window_->setPosition(x, y);
  // The flows' heights follow the widths the first run gives them.
  window_->layout();
  window_->layout();
  return true;
}

bool DemoWindow::useSkin(std::u16string_view familyAndName) {
  const size_t slash = familyAndName.find(u'/');
  if (slash == std::u16string_view::npos) return false;
  const std::u16string_view family = familyAndName.substr(0, slash);
  const std::u16string_view name = familyAndName.substr(slash + 1);
  drawer::Skinner* skinner = family == drawer::Skinner::kFamilyThin ? thinSkins_.get() : thinWindowSkins_.get();
  if (family != skinner->getFamilyName()) return false;
  int index = -1;
  if (!skinner->findSkin(name, &index)) return false;
  window_->setSkin(skinner->getSkin(index));
  status_->setText(std::u16string(u"Skin: ") + std::u16string(familyAndName));
  return true;
}

void DemoWindow::showPage(int page) {
  for (int i = 0; i < pages_->getChildCount(); ++i) pages_->getChild(i)->setVisible(i == page, true);
  window_->layout();
  window_->redraw();
}

void DemoWindow::onEvent(s::base::IObject* source, int) {
  if (source == menu_.get()) {
    const int command = menu_->getCommand();
    if (command == kKeepOnTopCommand) {
      keepOnTop_->setChecked(!keepOnTop_->isChecked());
      menu_->setChecked(kKeepOnTopCommand, keepOnTop_->isChecked());
    } else if (command >= kThinSkinBase) {
      useSkin(std::u16string(u"Thin/") + std::u16string(thinSkins_->getSkinName(command - kThinSkinBase)));
    } else if (command >= kThinWindowSkinBase) {
      useSkin(std::u16string(u"ThinWindow/") +
              std::u16string(thinWindowSkins_->getSkinName(command - kThinWindowSkinBase)));
    }
  } else if (source == static_cast<s::base::IObject*>(choice_)) {
    showPage(choice_->getSelected());
  } else if (source == static_cast<s::base::IObject*>(keepOnTop_)) {
    menu_->setChecked(kKeepOnTopCommand, keepOnTop_->isChecked());
  } else if (source == static_cast<s::base::IObject*>(viewButton_)) {
    progress_->setPosition((progress_->getPosition() + 10) % 110);
  } else if (auto* button = dynamic_cast<Button*>(source)) {
    if (button->getParent() == skinFlow_) useSkin(std::u16string(u"ThinWindow/") + std::u16string(button->getText()));
  } else if (auto* label = dynamic_cast<Label*>(source)) {
    status_->setText(std::u16string(u"Clicked ") + std::u16string(label->getText()));
  }
}

}  // namespace demo
