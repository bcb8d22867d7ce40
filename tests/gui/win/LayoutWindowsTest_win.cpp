// The shared layout cases on real child windows: each component's window is where the
// layout put it, as the platform reports it (GetWindowRect).
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "LayoutScenarios.h"
#include "WindowTestSupport.h"
#include "s/gui/win/Box.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;
using win::HostWindow;

// The root of each case is a box of fixed size at the top left of a large host window,
// so that the platform's smallest window size cannot change the case's numbers.
class WindowHarness final : public LayoutHarness {
 public:
  BoxBase& makeRoot(int width, int height) override {
    host_.reset(HostWindow::create());
    host_->setMargins(0);
    EXPECT_TRUE(host_->open(u"Layout cases", 700, 400));
    Box* root = Box::create();
    root->setFixedWidth(width, false);
    root->setFixedHeight(height, false);
    host_->add(root);
    root_ = root;
    return *root;
  }
  Rect nativeRect(const IComponent& component) override {
    return windowRect(hwndOf(component), hwndOf(*root_));
  }

 private:
  Owned<HostWindow> host_;
  Box* root_ = nullptr;
};

TEST(LayoutWindows, SharedCasesOnRealChildWindows) {
  WindowHarness harness;
  runLayoutScenarios(harness);
}

TEST(LayoutWindows, BoxesAreChildWindowsOfTheToolkitClass) {
  Owned<HostWindow> host(HostWindow::create());
  ASSERT_TRUE(host->open(u"Classes", 300, 200));
  Box* box = Box::create();
  host->add(box);
  HWND hwnd = hwndOf(*box);
  ASSERT_NE(hwnd, nullptr);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  EXPECT_STREQ(name, L"KorvelWindowClass");
  GetClassNameW(hwndOf(*host), name, 64);
  EXPECT_STREQ(name, L"KorvelWindowClass");
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(GetDlgCtrlID(hwnd), 0);
  EXPECT_EQ(GetParent(hwnd), hwndOf(*host));
}

TEST(LayoutWindows, HiddenWindowsLeaveAndDetachedOnesAreDestroyed) {
  Owned<HostWindow> host(HostWindow::create());
  ASSERT_TRUE(host->open(u"Hiding", 300, 200));
  Box* box = Box::create();
  Probe* probe = Probe::make(30, 30, 30, 30);
  box->add(probe);
  host->add(box);
  HWND boxWindow = hwndOf(*box);
  HWND probeWindow = hwndOf(*probe);
  EXPECT_TRUE(IsWindowVisible(probeWindow));

  probe->setVisible(false, false);
  EXPECT_FALSE(IsWindowVisible(probeWindow));
  EXPECT_EQ(windowRect(probeWindow, boxWindow).x, -10000);
  EXPECT_EQ(windowRect(probeWindow, boxWindow).y, 10000);
  probe->setVisible(true, false);
  EXPECT_TRUE(IsWindowVisible(probeWindow));
  EXPECT_EQ(windowRect(probeWindow, boxWindow).x, 0);

  box->setParent(nullptr);
  EXPECT_FALSE(IsWindow(boxWindow));
  EXPECT_FALSE(IsWindow(probeWindow));
  EXPECT_EQ(probe->getNativeWindow(), nullptr);
  host->close();
  EXPECT_FALSE(host->isOpen());
}

// Resizing the window by the platform lays the tree out again at the new size.
TEST(LayoutWindows, PlatformResizesReachTheLayout) {
  Owned<HostWindow> host(HostWindow::create());
  ASSERT_TRUE(host->open(u"Resizing", 300, 200));
  Box* filler = Box::create();
  filler->fillParent();
  host->add(filler);
  EXPECT_EQ(filler->getWidth(), 298);  // inside the window's one-pixel margins
  RECT outer{};
  GetWindowRect(hwndOf(*host), &outer);
  SetWindowPos(hwndOf(*host), nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(host->getWidth(), 400);
  EXPECT_EQ(host->getHeight(), 250);
  EXPECT_EQ(windowRect(hwndOf(*filler), hwndOf(*host)), (Rect{1, 1, 398, 248}));
}

}  // namespace
}  // namespace s::gui::testing
