#include "LayoutScenarios.h"

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/GroupBox.h"

namespace s::gui::testing {

namespace {

using win::Box;

// The component sits at (x, y) of its parent's content area with size w × h, and its
// native window shows exactly that, offset by its origin and its ancestors' places.
void expectPlaced(LayoutHarness& harness, const IComponent& component, Rect expected, Rect parentInRoot = {}) {
  const Rect stored{component.getX(), component.getY(), component.getWidth(), component.getHeight()};
  EXPECT_EQ(stored, expected);
  const auto* leaf = dynamic_cast<const Component*>(&component);
  const int originX = leaf ? leaf->getOriginX() : 0;
  const int originY = leaf ? leaf->getOriginY() : 0;
  const Rect native{parentInRoot.x + expected.x + originX, parentInRoot.y + expected.y + originY, expected.width,
                    expected.height};
  EXPECT_EQ(harness.nativeRect(component), native);
}

// Column, vertical gap 5, children 20 and 0 high: the gap before the empty last child
// is taken back, so the content is 20 high.
void columnGapBeforeEmptyLastChild(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 100);
  root.useColumn();
  root.setVerticalGap(5);
  Probe* first = Probe::make(30, 20, 30, 20);
  Probe* empty = Probe::make(30, 0, 30, 0);
  root.add(first);
  root.add(empty);
  root.layout();
  EXPECT_EQ(root.getContentMinHeight(), 20);
  EXPECT_EQ(root.getContentPreferredHeight(), 20);
  expectPlaced(harness, *first, {0, 0, 30, 20});
  expectPlaced(harness, *empty, {0, 25, 30, 0});
}

// Column 100 high, bottom-aligned; minimum heights 20 and 20, preferred 60 and 20: the
// first child alone grows (to 60), and the 20 pixels left go above the children.
void columnGrowsWhatCanGrowAndAlignsTheRest(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(50, 100);
  root.useColumn();
  root.alignBottom();
  Probe* growing = Probe::make(20, 20, 20, 60);
  Probe* fixed = Probe::make(20, 20, 20, 20);
  root.add(growing);
  root.add(fixed);
  root.layout();
  expectPlaced(harness, *growing, {0, 20, 20, 60});
  expectPlaced(harness, *fixed, {0, 80, 20, 20});
}

// Row 100 wide, three children wanting 10 … 50 each: every child gets the same share
// f = 70 ÷ 120 of its wish, truncated (10 + 23), and the pixel left over goes to the
// first child still below its wish.
void rowSharesShortfallThenRemainder(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 30);
  root.useRow();
  Probe* probes[3];
  for (Probe*& probe : probes) {
    probe = Probe::make(10, 10, 50, 10);
    root.add(probe);
  }
  root.layout();
  expectPlaced(harness, *probes[0], {0, 0, 34, 10});
  expectPlaced(harness, *probes[1], {34, 0, 33, 10});
  expectPlaced(harness, *probes[2], {67, 0, 33, 10});
  EXPECT_EQ(root.getContentMinWidth(), 30);
  EXPECT_EQ(root.getContentPreferredWidth(), 150);
}

// Row 100 × 40, centred and bottom-aligned, with gap 4: the children's 54 pixels
// leave 46, of which half goes before them; each child sits at the row's bottom.
void rowAlignsInsideFreeRoom(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 40);
  root.useRow();
  root.alignCenter();
  root.alignBottom();
  root.setHorizontalGap(4);
  Probe* small = Probe::make(20, 10, 20, 10);
  Probe* large = Probe::make(30, 20, 30, 20);
  root.add(small);
  root.add(large);
  root.layout();
  expectPlaced(harness, *small, {23, 30, 20, 10});
  expectPlaced(harness, *large, {47, 20, 30, 20});
}

// Flow 100 wide with gaps 4 and 2: a child with a minimum width of 150 widens the rows
// to 150 and still stands alone in its row, between the rows of its neighbours.
void flowWideChildStandsAlone(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 100);
  root.useFlow();
  root.setHorizontalGap(4);
  root.setVerticalGap(2);
  Probe* before = Probe::make(30, 10, 30, 10);
  Probe* wide = Probe::make(150, 10, 150, 10);
  Probe* after = Probe::make(30, 10, 30, 10);
  root.add(before);
  root.add(wide);
  root.add(after);
  root.layout();
  expectPlaced(harness, *before, {0, 0, 30, 10});
  expectPlaced(harness, *wide, {0, 12, 150, 10});
  expectPlaced(harness, *after, {0, 24, 30, 10});
  EXPECT_EQ(root.getContentMinWidth(), 150);
  EXPECT_EQ(root.getContentMinHeight(), 34);
  // One row would be 30 + 4 + 150 + 4 + 30.
  EXPECT_EQ(root.getContentPreferredWidth(), 218);
}

// Flow 100 wide, gap 5, centred: 40 + 5 + 40 fit in the first row (15 left, 7 before
// it), the third child wraps (60 left, 30 before it).
void flowWrapsAndCentresEachRow(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 100);
  root.useFlow();
  root.alignCenter();
  root.setHorizontalGap(5);
  Probe* probes[3];
  for (Probe*& probe : probes) {
    probe = Probe::make(40, 10, 40, 10);
    root.add(probe);
  }
  root.layout();
  expectPlaced(harness, *probes[0], {7, 0, 40, 10});
  expectPlaced(harness, *probes[1], {52, 0, 40, 10});
  expectPlaced(harness, *probes[2], {30, 10, 40, 10});
}

// Pile 80 × 60, centred both ways, its second child hidden: only the first is sized
// (to its preferred 40 × 30) and placed; only its sizes are reported.
void pileLaysOutShownChildrenOnly(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(80, 60);
  root.usePile();
  root.alignCenter();
  root.alignMiddle();
  Probe* shown = Probe::make(20, 10, 40, 30);
  Probe* hidden = Probe::make(100, 100, 100, 100);
  hidden->setVisible(false, false);
  root.add(shown);
  root.add(hidden);
  root.layout();
  expectPlaced(harness, *shown, {20, 15, 40, 30});
  EXPECT_EQ(hidden->getWidth(), 0);
  EXPECT_EQ(hidden->getHeight(), 0);
  EXPECT_EQ(root.getContentMinWidth(), 20);
  EXPECT_EQ(root.getContentMinHeight(), 10);
  EXPECT_EQ(root.getContentPreferredWidth(), 40);
  EXPECT_EQ(root.getContentPreferredHeight(), 30);
}

// A width of 500 offered to a component that prefers 300 but needs 400 gives it 400.
void offerSizeMinimumWins(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(600, 50);
  Probe* probe = Probe::make(400, 10, 300, 10);
  root.add(probe);
  probe->offerSize(500, 0);
  expectPlaced(harness, *probe, {0, 0, 400, 10});
}

// 50 % of a content width of 201 is 100.5: a box rounds it away from zero, a leaf and
// a group box truncate.
void percentOfOddWidth(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(201, 100);
  Box* box = Box::create();
  box->setWidthPercent(50, false);
  Probe* leaf = Probe::make(0, 0, 0, 0);
  leaf->setWidthPercent(50, false);
  win::GroupBox* group = win::GroupBox::create();
  group->setWidthPercent(50, false);
  root.add(box);
  root.add(leaf);
  root.add(group);
  EXPECT_EQ(box->getPreferredWidth(), 101);
  EXPECT_EQ(leaf->getPreferredWidth(), 100);
  EXPECT_EQ(group->getPreferredWidth(), 100);
  root.layout();
  EXPECT_EQ(harness.nativeRect(*box).width, 101);
}

// Margins 10 put the children's origin at (10, 10); setting them all to 0 leaves the
// origins where they were.
void zeroMarginsKeepChildOrigins(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(100, 100);
  Box* inner = Box::create();
  inner->setFixedWidth(60, false);
  inner->setFixedHeight(60, false);
  inner->setMargins(10);
  Probe* probe = Probe::make(20, 20, 20, 20);
  inner->add(probe);
  root.add(inner);
  root.layout();
  EXPECT_EQ(probe->getOriginX(), 10);
  EXPECT_EQ(probe->getOriginY(), 10);
  inner->setMargins(0);
  inner->layout();
  EXPECT_EQ(probe->getOriginX(), 10);
  EXPECT_EQ(probe->getOriginY(), 10);
  expectPlaced(harness, *probe, {0, 0, 20, 20});
}

// A tree of all four layouts: a column holding a row (a fixed child and a growing box),
// a flow of three, and a pile of two pages of which the second is hidden.
void nestedLayoutsPlaceEveryWindow(LayoutHarness& harness) {
  BoxBase& root = harness.makeRoot(200, 150);
  root.useColumn();
  root.setVerticalGap(5);
  root.setMargins(4);

  Box* row = Box::newBox(100, -1, 0, 1, 6, 0, 0, 0, IBox::kRow);
  Probe* fixed = Probe::make(40, 20, 40, 20);
  Box* growing = Box::newBox(100, -1, 0, 0, 0, 0, 0, 0, IBox::kColumn);
  Probe* inGrowing = Probe::make(10, 10, 500, 10);
  growing->add(inGrowing);
  row->add(fixed);
  row->add(growing);

  Box* flow = Box::newBox(100, -1, 0, 0, 3, 3, 0, 0, IBox::kFlow);
  Probe* tiles[3];
  for (Probe*& tile : tiles) {
    tile = Probe::make(80, 12, 80, 12);
    flow->add(tile);
  }

  Box* pile = Box::newBox(100, -1, 0, 0, 0, 0, 0, 0, IBox::kPile);
  Probe* page = Probe::make(30, 30, 1000, 30);
  Probe* hiddenPage = Probe::make(30, 30, 1000, 30);
  hiddenPage->setVisible(false, true);
  pile->add(page);
  pile->add(hiddenPage);

  root.add(row);
  root.add(flow);
  root.add(pile);
  root.layout();
  root.layout();  // the flow's height follows the width the first run gave it

  // Content area 192 × 142 at (4, 4).
  expectPlaced(harness, *row, {0, 0, 192, 20}, {0, 0});
  expectPlaced(harness, *fixed, {0, 0, 40, 20}, {4, 4});
  // The row centres its children vertically: the growing box is 10 high in a row of 20.
  expectPlaced(harness, *growing, {46, 5, 146, 10}, {4, 4});
  expectPlaced(harness, *inGrowing, {0, 0, 146, 10}, {50, 9});
  expectPlaced(harness, *flow, {0, 25, 192, 27}, {0, 0});
  expectPlaced(harness, *tiles[0], {0, 0, 80, 12}, {4, 29});
  expectPlaced(harness, *tiles[1], {83, 0, 80, 12}, {4, 29});
  expectPlaced(harness, *tiles[2], {0, 15, 80, 12}, {4, 29});
  expectPlaced(harness, *pile, {0, 57, 192, 30}, {0, 0});
  expectPlaced(harness, *page, {0, 0, 192, 30}, {4, 61});
  EXPECT_EQ(hiddenPage->getWidth(), 0);
}

struct Scenario {
  const char* name;
  void (*run)(LayoutHarness&);
};

constexpr Scenario kScenarios[] = {
    {"column gap before an empty last child", columnGapBeforeEmptyLastChild},
    {"column grows what can grow", columnGrowsWhatCanGrowAndAlignsTheRest},
    {"row shares a shortfall", rowSharesShortfallThenRemainder},
    {"row aligns inside free room", rowAlignsInsideFreeRoom},
    {"flow: a wide child stands alone", flowWideChildStandsAlone},
    {"flow wraps and centres each row", flowWrapsAndCentresEachRow},
    {"pile lays out shown children only", pileLaysOutShownChildrenOnly},
    {"offerSize: the minimum wins", offerSizeMinimumWins},
    {"percent of an odd width", percentOfOddWidth},
    {"zero margins keep child origins", zeroMarginsKeepChildOrigins},
    {"nested layouts place every window", nestedLayoutsPlaceEveryWindow},
};

}  // namespace

void runLayoutScenarios(LayoutHarness& harness) {
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    scenario.run(harness);
  }
}

}  // namespace s::gui::testing
