// The layout model on memory windows: the shared cases, and what only memory windows
// let a test count (platform calls per window, destroyed windows, pool returns).
#include <gtest/gtest.h>

#include <climits>

#include "GuiTestSupport.h"
#include "LayoutScenarios.h"
#include "s/gui/layout/FlowH.h"
#include "s/gui/layout/Pile.h"
#include "s/gui/layout/Vertical.h"
#include "s/gui/win/Box.h"
#include "s/thread/Owned.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;

class MemoryHarness final : public LayoutHarness {
 public:
  BoxBase& makeRoot(int width, int height) override {
    root_.reset(makeMemoryRoot(width, height));
    return *root_;
  }
  Rect nativeRect(const IComponent& component) override { return memoryWindowOf(component)->getRectInRoot(); }

 private:
  Owned<Box> root_;
};

TEST(Layout, SharedCasesOnMemoryWindows) {
  MemoryHarness harness;
  runLayoutScenarios(harness);
}

// Column of a row of three and a leaf: after a run of the root, every native window
// below it was moved exactly once, with its final geometry.
TEST(Layout, EachNativeWindowMovesOnceAtTheEnd) {
  Owned<Box> root(makeMemoryRoot(300, 200));
  Box* row = Box::newBox(100, -1, 0, 0, 5, 0, 0, 0, IBox::kRow);
  Probe* cells[3];
  for (Probe*& cell : cells) {
    cell = Probe::make(20, 10, 60, 10);
    row->add(cell);
  }
  Probe* below = Probe::make(50, 30, 50, 30);
  root->add(row);
  root->add(below);

  const IComponent* all[] = {row, cells[0], cells[1], cells[2], below};
  int before[5];
  for (int i = 0; i < 5; ++i) before[i] = memoryWindowOf(*all[i])->getGeometryCount();
  root->layout();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(memoryWindowOf(*all[i])->getGeometryCount() - before[i], 1) << i;
    EXPECT_FALSE(all[i]->isDeferring());
  }
  EXPECT_EQ(memoryWindowOf(*cells[2])->getRectInRoot(), (Rect{130, 0, 60, 10}));
}

TEST(Layout, HidingMovesTheWindowAwayAndShowingRelaysTheParentTwice) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Probe* probe = Probe::make(10, 10, 10, 10);
  root->add(probe);
  root->layout();
  EventRecorder layouts;
  root->addLayoutListener(&layouts);

  probe->setVisible(false, false);
  native::MemoryWindow* window = memoryWindowOf(*probe);
  EXPECT_FALSE(probe->isShown());
  EXPECT_FALSE(window->isShownNow());
  EXPECT_EQ(window->getRect().x, -10000);
  EXPECT_EQ(window->getRect().y, 10000);
  EXPECT_EQ(probe->getX(), 0);  // the stored place stays
  EXPECT_EQ(layouts.count(IComponent::kEventLayout), 0);

  probe->setVisible(true, false);
  EXPECT_TRUE(probe->isShown());
  EXPECT_EQ(layouts.count(IComponent::kEventLayout), 2);
  EXPECT_EQ(window->getRect(), (Rect{0, 0, 10, 10}));
}

TEST(Layout, HidingABoxHidesItsChildrenAndRecursiveShowingBringsThemBack) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Box* page = Box::create();
  Probe* inside = Probe::make(10, 10, 10, 10);
  page->add(inside);
  root->add(page);
  page->setVisible(false, false);
  EXPECT_FALSE(inside->isVisible());
  page->setVisible(true, false);
  EXPECT_FALSE(inside->isVisible());
  page->setVisible(false, false);
  page->setVisible(true, true);
  EXPECT_TRUE(inside->isVisible());
}

// Geometry given before the native window exists is kept and applied when it comes.
TEST(Layout, GeometryBeforeTheNativeWindowIsAppliedAtCreation) {
  Owned<Box> detached(Box::create());
  detached->setFixedWidth(40, false);
  Probe* probe = Probe::make(5, 5, 5, 5);
  detached->add(probe);
  probe->setBounds(3, 4, 5, 6);
  probe->setEnabled(false);
  EXPECT_TRUE(probe->isPending());
  EXPECT_EQ(probe->getNativeWindow(), nullptr);
  EXPECT_EQ(probe->getParent(), detached.get());

  Owned<Box> root(makeMemoryRoot(100, 100));
  root->add(detached.detach());
  ASSERT_NE(probe->getNativeWindow(), nullptr);
  EXPECT_FALSE(memoryWindowOf(*probe)->isEnabledNow());
  EXPECT_TRUE(memoryWindowOf(*probe)->isShownNow());
}

TEST(Layout, AddingToABoxWithAWindowCreatesTheChildsWindowAtTheMargins) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  root->setMargins(7);
  EventRecorder layouts;
  root->addLayoutListener(&layouts);
  Box* box = Box::create();
  Probe* leaf = Probe::make(10, 10, 10, 10);
  box->add(leaf);
  root->add(box);
  ASSERT_NE(box->getNativeWindow(), nullptr);
  ASSERT_NE(leaf->getNativeWindow(), nullptr);
  EXPECT_EQ(box->getOriginX(), 7);
  EXPECT_EQ(box->getOriginY(), 7);
  EXPECT_GE(layouts.count(IComponent::kEventLayout), 1);
  EXPECT_EQ(memoryWindowOf(*box)->getRect().x, 7);
}

TEST(Layout, RemovingReleasesTheChildAndDestroysItsWindows) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Box* box = Box::create();
  box->add(Probe::make(10, 10, 10, 10));
  box->add(Probe::make(10, 10, 10, 10));
  root->add(box);
  auto* rootWindow = memoryWindowOf(*root);
  EXPECT_EQ(rootWindow->getChildWindowCount(), 1u);
  const int idleProbes = thread::poolOf<Probe>().idleCount();
  root->remove(box, true);
  EXPECT_EQ(root->getChildCount(), 0);
  EXPECT_EQ(rootWindow->getChildWindowCount(), 0u);
  EXPECT_EQ(thread::poolOf<Probe>().idleCount(), idleProbes + 2);

  root->add(Probe::make(1, 1, 1, 1));
  root->add(Probe::make(1, 1, 1, 1));
  root->removeAll(true);
  EXPECT_EQ(root->getChildCount(), 0);
  EXPECT_EQ(rootWindow->getChildWindowCount(), 0u);
}

TEST(Layout, DetachingDestroysTheWholeSubtreesWindows) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Box* box = Box::create();
  Probe* leaf = Probe::make(10, 10, 10, 10);
  box->add(leaf);
  root->add(box);
  box->setParent(nullptr);
  EXPECT_EQ(box->getNativeWindow(), nullptr);
  EXPECT_EQ(leaf->getNativeWindow(), nullptr);
  EXPECT_EQ(box->getWindow(), nullptr);
  // It is still the root's child: re-attaching gives it windows again.
  box->setParent(root.get());
  EXPECT_NE(leaf->getNativeWindow(), nullptr);
}

// A layout listener that lays the box out again is let in once, not forever.
TEST(Layout, ReentryIsBoundedToOneNestedRun) {
  struct Relayouter : events::IEventListener {
    BoxBase* box = nullptr;
    int runs = 0;
    void onEvent(base::IObject*, int) override {
      ++runs;
      box->layout();
    }
  } relayouter;
  Owned<Box> root(makeMemoryRoot(100, 100));
  root->add(Probe::make(10, 10, 10, 10));
  relayouter.box = root.get();
  root->addLayoutListener(&relayouter);
  root->layout();
  EXPECT_EQ(relayouter.runs, 2);
}

// Values that once were not guarded: negative sizes, margins and gaps; a percent of a
// collapsed parent; sizes near the int range.
TEST(Layout, HostileSizesStayInRange) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Probe* probe = Probe::make(12, 8, 20, 10);
  root->add(probe);
  probe->offerSize(-50, -50);
  EXPECT_EQ(probe->getWidth(), 12);
  EXPECT_EQ(probe->getHeight(), 8);

  Owned<Box> box(Box::create());
  box->setMargins(-5);
  box->setHorizontalGap(-3);
  box->setFixedWidth(-7, false);
  box->setWidthPercent(-20, false);
  EXPECT_EQ(box->getLeftMargin(), 0);
  EXPECT_EQ(box->getHorizontalGap(), 0);
  EXPECT_EQ(box->getFixedWidth(), -1);
  EXPECT_EQ(box->getWidthPercent(), -1);
  box->setSize(-4, -4);
  EXPECT_EQ(box->getWidth(), 0);
  EXPECT_EQ(box->getContentWidth(), 0);

  // A collapsed parent: its children's percent is of nothing, and their minimum wins.
  Box* collapsed = Box::create();
  collapsed->setFixedWidth(0, false);
  collapsed->setFixedHeight(0, false);
  collapsed->setMargins(3);
  Box* filler = Box::create();
  filler->fillParent();
  filler->setMinWidthOverride(9);
  collapsed->add(filler);
  root->add(collapsed);
  root->layout();
  EXPECT_EQ(collapsed->getWidth(), 0);
  EXPECT_EQ(filler->getPreferredWidth(), 0);
  EXPECT_EQ(filler->getWidth(), 9);

  // Three children of nearly INT_MAX / 2 each: the sums saturate instead of wrapping.
  Owned<Box> row(Box::create());
  row->attachRootWindow(new native::MemoryWindow(*row, nullptr));
  row->useRow();
  row->setHorizontalGap(10);
  for (int i = 0; i < 3; ++i) row->add(Probe::make(INT_MAX / 2, 1, INT_MAX / 2, 1));
  row->setSize(100, 10);
  row->layout();
  EXPECT_EQ(row->getContentMinWidth(), INT_MAX);
  EXPECT_GE(row->getChild(2)->getX(), 0);
}

// Layout managers run their algorithm with the box's alignment and gaps but leave the
// box's content sizes at 0; without one, a box answers the shared flow manager.
TEST(Layout, ManagersReplaceTheBuiltInLayout) {
  Owned<Box> root(makeMemoryRoot(100, 100));
  Box* box = Box::create();
  box->useRow();
  box->setVerticalGap(4);
  box->fillParent();
  EXPECT_EQ(box->getLayoutManager(), &layout::FlowH::shared());
  Probe* a = Probe::make(10, 10, 10, 10);
  Probe* b = Probe::make(10, 10, 10, 10);
  box->add(a);
  box->add(b);
  root->add(box);
  Owned<layout::Vertical> vertical(layout::Vertical::create());
  box->setLayoutManager(vertical.get());
  box->layout();
  EXPECT_EQ(box->getLayoutManager(), vertical.get());
  EXPECT_EQ(b->getY(), 14);
  EXPECT_EQ(b->getX(), 0);
  EXPECT_EQ(box->getContentMinHeight(), 0);
  box->setLayoutManager(nullptr);

  EXPECT_EQ(std::u16string(vertical->getRegistrationName()), u"s_gui_layout_Vertical");
  EXPECT_EQ(std::u16string(layout::FlowH::shared().getRegistrationName()), u"s_gui_layout_FlowH");
  Owned<layout::Pile> pile(layout::Pile::create());
  EXPECT_EQ(std::u16string(pile->getRegistrationName()), u"s_gui_layout_Pile");
  EXPECT_EQ(std::u16string(box->getRegistrationName()), u"s_gui_win_Box");
}

TEST(Layout, NewBoxAppliesItsArguments) {
  struct Case {
    int halign, valign, kind;
    int wantH, wantV, wantKind;
  };
  const Case cases[] = {
      {-3, -3, IBox::kRow, IBox::kLeft, IBox::kTop, IBox::kRow},
      {1, 1, IBox::kFlow, IBox::kCenter, IBox::kMiddle, IBox::kFlow},
      {7, 2, IBox::kPile, IBox::kRight, IBox::kBottom, IBox::kPile},
      {0, 0, 9, IBox::kLeft, IBox::kTop, IBox::kColumn},
  };
  for (const Case& c : cases) {
    Owned<Box> box(Box::newBox(100, -1, c.halign, c.valign, 10, 0, 8, -2, c.kind));
    EXPECT_EQ(box->getHorizontalAlignment(), c.wantH);
    EXPECT_EQ(box->getVerticalAlignment(), c.wantV);
    EXPECT_EQ(box->getLayoutKind(), c.wantKind);
    EXPECT_EQ(box->getWidthPercent(), 100);
    EXPECT_EQ(box->getHeightPercent(), -1);
    EXPECT_EQ(box->getHorizontalGap(), 10);
    EXPECT_EQ(box->getVerticalGap(), 0);
    EXPECT_EQ(box->getLeftMargin(), 8);
    EXPECT_EQ(box->getTopMargin(), 0);
  }
}

TEST(Layout, BoxSizeRules) {
  Owned<Box> box(Box::create());
  box->setMargins(3);
  Probe* probe = Probe::make(10, 20, 30, 40);
  box->add(probe);
  box->layout();
  EXPECT_EQ(box->getMinWidth(), 16);
  EXPECT_EQ(box->getMinHeight(), 26);
  EXPECT_EQ(box->getPreferredWidth(), 36);
  EXPECT_EQ(box->getPreferredHeight(), 46);
  box->setMinWidthOverride(50);
  EXPECT_EQ(box->getMinWidth(), 50);
  box->setExcludeWidth(true);
  box->setExcludeHeight(true);
  EXPECT_EQ(box->getMinWidth(), 0);
  EXPECT_EQ(box->getMinHeight(), 0);
  box->setFixedHeight(7, false);
  EXPECT_EQ(box->getPreferredHeight(), 7);
  box->setHeightPercent(10, false);
  EXPECT_EQ(box->getFixedHeight(), -1);
  // Without a parent a percent has nothing to refer to: the content decides.
  EXPECT_EQ(box->getPreferredHeight(), 46);
}

TEST(Layout, CenteringHalvesTheFreeRoom) {
  Owned<Box> root(makeMemoryRoot(101, 51));
  Probe* probe = Probe::make(10, 10, 10, 10);
  root->add(probe);
  probe->setSize(20, 20);
  probe->centerInParent();
  EXPECT_EQ(probe->getX(), 40);
  EXPECT_EQ(probe->getY(), 15);
  probe->setSize(200, 20);
  probe->setPosition(5, 5);
  probe->centerHorizontally();
  EXPECT_EQ(probe->getX(), 0);
  EXPECT_EQ(probe->getY(), 5);
}

}  // namespace
}  // namespace s::gui::testing
