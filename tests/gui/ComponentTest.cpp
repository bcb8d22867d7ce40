// The leaf components on memory windows (text measured at 7 pixels a unit, lines 15
// high): their size rules, their events, and the colours they paint with.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "s/gui/drawer/MemoryCanvas.h"
#include "s/gui/drawer/PaintState.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/skin/ThinWindow.h"
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
#include "s/thread/Owned.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using namespace win;

constexpr int kLine = native::MemoryWindow::kLineHeight;
constexpr int kUnit = native::MemoryWindow::kCharWidth;

struct Sizes {
  int minWidth, minHeight, preferredWidth, preferredHeight;
  friend bool operator==(const Sizes&, const Sizes&) = default;
};

Sizes sizesOf(const IComponent& c) {
  return {c.getMinWidth(), c.getMinHeight(), c.getPreferredWidth(), c.getPreferredHeight()};
}

TEST(Leaves, SizesFollowTheirContentOnceTheyHaveAWindow) {
  Owned<Box> root(makeMemoryRoot(500, 500));
  Label* label = Label::create();
  label->setText(u"Hello");
  Label* empty = Label::create();
  Button* button = Button::create();
  button->setText(u"OK");
  CheckBox* check = CheckBox::create();
  check->setText(u"abcdef");
  TextField* field = TextField::create();
  field->setText(u"abc");
  ComboBox* combo = ComboBox::create();
  combo->addItem(u"a");
  combo->addItem(u"abcd");
  Spacer* spacer = Spacer::newSpacer(false, 10);
  // Without a window nothing is measured yet.
  EXPECT_EQ(sizesOf(*label), (Sizes{0, 0, 0, 0}));
  for (IComponent* c : std::initializer_list<IComponent*>{label, empty, button, check, field, combo, spacer}) {
    root->add(c);
  }
  EXPECT_EQ(sizesOf(*label), (Sizes{5 * kUnit, kLine, 5 * kUnit, kLine}));
  EXPECT_EQ(sizesOf(*empty), (Sizes{0, kLine, 0, kLine}));
  EXPECT_EQ(sizesOf(*button), (Sizes{2 * kUnit + 16, kLine + 10, 2 * kUnit + 16, kLine + 10}));
  // Text width + text height + text height ÷ 6, by the text height.
  EXPECT_EQ(sizesOf(*check), (Sizes{6 * kUnit + kLine + kLine / 6, kLine, 6 * kUnit + kLine + kLine / 6, kLine}));
  EXPECT_EQ(sizesOf(*field), (Sizes{kLine + 10, kLine + 6, 3 * kUnit + 10, kLine + 6}));
  EXPECT_EQ(sizesOf(*combo), (Sizes{4 * kUnit + kLine + 16, kLine + 10, 4 * kUnit + kLine + 16, kLine + 10}));
  EXPECT_EQ(sizesOf(*spacer), (Sizes{10, 0, 10, 0}));

  // A new text measures again and lays the parent out.
  EventRecorder layouts;
  root->addLayoutListener(&layouts);
  label->setText(u"Hello, world");
  EXPECT_EQ(label->getPreferredWidth(), 12 * kUnit);
  EXPECT_EQ(label->getWidth(), 12 * kUnit);
  EXPECT_EQ(layouts.count(IComponent::kEventLayout), 1);

  // Fixed sizes win; a leaf's percent truncates.
  button->setFixedWidth(5, false);
  EXPECT_EQ(button->getMinWidth(), 5);
  EXPECT_EQ(button->getPreferredWidth(), 5);
  button->setWidthPercent(33, false);
  EXPECT_EQ(button->getPreferredWidth(), 165);
}

TEST(Leaves, GroupBoxMarginsComeFromItsTitle) {
  Owned<Box> root(makeMemoryRoot(300, 300));
  GroupBox* group = GroupBox::create();
  group->setTitle(u"Title");
  Probe* content = Probe::make(10, 10, 10, 10);
  group->setContent(content);
  EXPECT_EQ(group->getLayoutKind(), IBox::kPile);
  root->add(group);
  EXPECT_EQ(group->getLeftMargin(), 4);
  EXPECT_EQ(group->getRightMargin(), 4);
  EXPECT_EQ(group->getTopMargin(), kLine + 1);
  EXPECT_EQ(group->getBottomMargin(), 4);
  EXPECT_EQ(content->getOriginX(), 4);
  EXPECT_EQ(content->getOriginY(), kLine + 1);
  // The title needs 5 units + 24; the content only 8 + 10.
  EXPECT_EQ(group->getMinWidth(), 5 * kUnit + 24);
  EXPECT_EQ(group->getMinHeight(), kLine + 1 + 4 + 10);
  group->setTitle(u"");
  EXPECT_EQ(group->getMinWidth(), 24);

  // A new content replaces (and releases) the old one.
  Probe* other = Probe::make(50, 5, 50, 5);
  group->setContent(other);
  EXPECT_EQ(group->getChildCount(), 1);
  EXPECT_EQ(group->getContent(), other);
  group->layout();
  EXPECT_EQ(group->getMinWidth(), 58);
}

TEST(Leaves, EventsReachListenersWithTheNewState) {
  Owned<Box> root(makeMemoryRoot(300, 300));
  EventRecorder recorder;
  CheckBox* check = CheckBox::create();
  Button* button = Button::create();
  ComboBox* combo = ComboBox::create();
  TextField* field = TextField::create();
  Label* link = Label::create();
  for (Component* c : std::initializer_list<Component*>{check, button, combo, field, link}) {
    c->addListener(&recorder);
    root->add(c);
  }
  check->setChecked(true);  // the program's change: no event
  EXPECT_TRUE(recorder.events.empty());
  check->nativeClicked();
  EXPECT_FALSE(check->isChecked());
  button->nativePressed();
  combo->addItem(u"Tile");
  combo->addItem(u"Flat");
  combo->setSelected(5);
  EXPECT_EQ(combo->getSelected(), -1);
  combo->nativeSelectionChanged(1);
  combo->nativeSelectionChanged(1);  // no change, no event
  EXPECT_EQ(combo->getSelected(), 1);
  field->setText(u"abc");
  field->nativeTextChanged(u"abc");  // the text it already has
  field->nativeTextChanged(u"abcd");
  EXPECT_EQ(field->getText(), u"abcd");
  link->nativeClicked();

  const std::vector<std::pair<base::IObject*, int>> expected = {
      {check, CheckBox::kEventToggled},
      {button, Button::kEventPressed},
      {combo, ComboBox::kEventSelectionChanged},
      {field, TextField::kEventChanged},
      {link, Label::kEventClicked},
  };
  EXPECT_EQ(recorder.events, expected);
}

TEST(Leaves, ProgressBarTakesOnly24BitValues) {
  Owned<ProgressBar> bar(ProgressBar::create());
  EXPECT_TRUE(bar->setRange(0, 1000));
  EXPECT_TRUE(bar->setPosition(16777215));
  EXPECT_FALSE(bar->setPosition(16777216));
  EXPECT_FALSE(bar->setPosition(-1));
  EXPECT_FALSE(bar->setRange(0, 20000000));
  EXPECT_FALSE(bar->setRange(10, 5));
  EXPECT_EQ(bar->getHigh(), 1000);
  EXPECT_EQ(bar->getPosition(), 16777215);
  EXPECT_EQ(sizesOf(*bar), (Sizes{50, 12, 150, 14}));

  // A quarter done fills a quarter of the inside, in the skin's scroll bar colours.
  bar->setRange(0, 100);
  bar->setPosition(25);
  drawer::MemoryCanvas canvas(102, 10);
  bar->paint(canvas, {0, 0, 102, 10}, {});
  EXPECT_EQ(canvas.pixel(0, 5), bar->getBarColour());    // the frame
  EXPECT_EQ(canvas.pixel(25, 5), bar->getBarColour());   // the last done pixel
  EXPECT_EQ(canvas.pixel(26, 5), bar->getTrackColour());
  EXPECT_NE(bar->getBarColour(), bar->getTrackColour());
  bar->setRange(7, 7);  // an empty range shows nothing done
  EXPECT_EQ(bar->doneWidth(102), 0);
}

// A label paints in the skin's text colour, in its own colour when it has one, and a
// link in its hover colour while the pointer is over it.
TEST(Leaves, LabelColours) {
  Owned<drawer::Skinner> skinner(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThinWindow));
  // A window that is never opened: the label paints through its skin all the same.
  Owned<HostWindow> host(HostWindow::create());
  int index = -1;
  ASSERT_TRUE(skinner->findSkin(u"Classic LG", &index));
  host->setSkin(skinner->getSkin(index));
  Label* label = Label::create();
  label->setText(u"drop here");
  host->add(label);

  auto paintedColour = [&] {
    drawer::MemoryCanvas canvas(100, 20);
    label->paint(canvas, {0, 0, 100, 20}, {});
    EXPECT_EQ(canvas.pixel(50, 10), drawer::rgb(116, 116, 116));  // the window's background shows
    return canvas.getTextCalls().at(0).colour;
  };
  EXPECT_EQ(paintedColour(), drawer::rgb(255, 255, 255));
  label->setTextColour({119, 119, 119});
  EXPECT_EQ(paintedColour(), drawer::rgb(119, 119, 119));
  label->nativeHovered(true);  // not a link: no hover colour
  EXPECT_EQ(paintedColour(), drawer::rgb(119, 119, 119));
  label->setLinkMode(true);
  label->nativeHovered(true);
  EXPECT_EQ(paintedColour(), drawer::rgb(0, 0, 238));
  label->nativeHovered(false);
  EXPECT_EQ(paintedColour(), drawer::rgb(119, 119, 119));
}

TEST(Leaves, StatusBarIsARowAcrossItsParent) {
  Owned<StatusBar> bar(StatusBar::create());
  EXPECT_EQ(bar->getLayoutKind(), IBox::kRow);
  EXPECT_EQ(bar->getWidthPercent(), 100);
  EXPECT_EQ(bar->getTopMargin(), StatusBar::kTopMargin);
  EXPECT_EQ(bar->getVerticalAlignment(), IBox::kMiddle);
}

TEST(Menu, CommandsReachTheBarsListeners) {
  Owned<MenuEx> bar(MenuEx::create());
  MenuEx* view = bar->addSubMenu(u"View");
  view->addItem(100, u"Keep on Top");
  view->addSeparator();
  view->addItem(110, u"Right-Click Transform");
  bar->addItem(10000, u"About");
  EventRecorder recorder;
  bar->addListener(&recorder);

  bar->setChecked(110, true);
  EXPECT_TRUE(bar->isChecked(110));
  EXPECT_TRUE(view->isChecked(110));
  EXPECT_FALSE(bar->isChecked(100));
  EXPECT_EQ(bar->findItem(12345), nullptr);
  bar->setItemText(100, u"Always on Top");
  EXPECT_EQ(view->getItem(0).text, u"Always on Top");
  EXPECT_TRUE(view->getItem(1).separator);

  bar->nativeCommand(110);
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].second, MenuEx::kEventCommand);
  EXPECT_EQ(bar->getCommand(), 110);
}

}  // namespace
}  // namespace s::gui::testing
