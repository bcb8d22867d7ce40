// The top-level window as the platform sees it: its native windows and their thread,
// platform messages turned into events, the frame's hit testing and sizing, and a
// restore request from another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Window.h"
#include "s/gui/win/WindowMessages.h"
#include "s/thread/Clock.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;
using win::Window;

std::wstring classOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

LONG_PTR styleOf(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }
LONG_PTR exStyleOf(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_EXSTYLE); }

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.reset(Window::create());
    hwnd = hwndOf(*window);
    ASSERT_NE(hwnd, nullptr);
  }
  // A box filling the client area, made on the window's thread.
  Box* fill() {
    Box* box = nullptr;
    window->invoke([&] {
      box = Box::create();
      box->fillParent();
      window->add(box);
      window->layout();
    });
    return box;
  }
  POINT screenPoint(int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }

  QuietMessageBoxes quiet;
  Owned<Window> window;
  HWND hwnd = nullptr;
};

TEST_F(RealWindow, IsMadeHiddenOnItsOwnThreadUnderAnInvisibleOwner) {
  EXPECT_NE(GetWindowThreadProcessId(hwnd, nullptr), GetCurrentThreadId());
  EXPECT_EQ(classOf(hwnd), L"KorvelWindowClass");
  wchar_t title[32] = {};
  GetWindowTextW(hwnd, title, 32);
  EXPECT_STREQ(title, L"Window");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 240);
  EXPECT_EQ(r.bottom - r.top, 120);
  EXPECT_EQ(styleOf(hwnd) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(exStyleOf(hwnd) & (WS_EX_CLIENTEDGE | WS_EX_APPWINDOW), WS_EX_CLIENTEDGE | WS_EX_APPWINDOW);

  const HWND owner = GetWindow(hwnd, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(classOf(owner), L"KorvelWindowClass");
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(exStyleOf(owner) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyleOf(owner) & WS_EX_APPWINDOW);
  EXPECT_EQ(GetWindowThreadProcessId(owner, nullptr), GetWindowThreadProcessId(hwnd, nullptr));

  window->setTaskbarButton(false);
  EXPECT_FALSE(exStyleOf(hwnd) & WS_EX_APPWINDOW);
  window->setTitle(u"Pictorva");
  GetWindowTextW(hwnd, title, 32);
  EXPECT_STREQ(title, L"Pictorva");
}

TEST_F(RealWindow, ReleasingEndsItsThreadAndItsWindows) {
  DWORD threadId = GetWindowThreadProcessId(hwnd, nullptr);
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
  ASSERT_NE(thread, nullptr);
  const HWND owner = GetWindow(hwnd, GW_OWNER);
  window.reset();
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindow(owner));
}

TEST_F(RealWindow, SendsToAWindowWhoseThreadHasEndedFailAtOnce) {
  const DWORD threadId = GetWindowThreadProcessId(hwnd, nullptr);
  HANDLE uiThread = OpenThread(SYNCHRONIZE, FALSE, threadId);
  ASSERT_NE(uiThread, nullptr);
  // The thread's loop ends as if its program were quitting.
  PostThreadMessageW(threadId, WM_QUIT, 0, 0);
  ASSERT_EQ(WaitForSingleObject(uiThread, 5000), WAIT_OBJECT_0);
  CloseHandle(uiThread);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(window->hasPlatformWindow());
  EXPECT_EQ(window->sendRecord(1, 2, 3, 4), 0u);
  EXPECT_FALSE(window->getJobEvents().send(thread::RelayRecord{}));
  EXPECT_FALSE(window->invoke([] {}));
  EXPECT_EQ(window->sendMessage(win::kSignalMessage), 0);
  // Releasing it now finds the thread ended.
  window.reset();
}

TEST_F(RealWindow, MouseButtonsOnTheBoxesInsideAreTheWindows) {
  Box* box = fill();
  window->show(true, false);
  ThreadRecorder recorder;
  for (int type : {Window::kEventRightButtonDown, Window::kEventRightButtonUp, Window::kEventLeftButtonDown,
                   Window::kEventLeftButtonUp, Window::kEventLeftDoubleClick, Window::kEventMiddleButtonDown,
                   Window::kEventMouseMoved}) {
    window->addEventListener(type, &recorder);
  }
  const HWND boxHwnd = hwndOf(*box);
  const LPARAM at = MAKELPARAM(20, 20);
  SendMessageW(boxHwnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SendMessageW(boxHwnd, WM_RBUTTONUP, 0, at);
  SendMessageW(boxHwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(boxHwnd, WM_LBUTTONUP, 0, at);
  SendMessageW(boxHwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(boxHwnd, WM_MBUTTONDOWN, MK_MBUTTON, at);
  SendMessageW(boxHwnd, WM_MOUSEMOVE, 0, at);
  std::vector<int> types;
  for (const auto& heard : recorder.heard()) {
    types.push_back(heard.type);
    EXPECT_EQ(heard.source, static_cast<base::IObject*>(window.get()));
  }
  EXPECT_EQ(types, (std::vector<int>{3, 24, 5, 25, 16, 9, 13}));
  // The default middle-click action does nothing; "Close" closes.
  EXPECT_FALSE(window->isClosed());
  window->setMiddleClickAction(Window::MiddleClick::kClose);
  SendMessageW(boxHwnd, WM_MBUTTONDOWN, MK_MBUTTON, at);
  EXPECT_TRUE(window->isClosed());
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(RealWindow, EasyDragAnswersTheClientAreaAsTheCaption) {
  window->show(true, false);
  const POINT inside = screenPoint(30, 30);
  const LPARAM at = MAKELPARAM(inside.x, inside.y);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, at), HTCLIENT);
  window->setEasyDrag(true);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, at), HTCAPTION);
}

// Presses and releases mouse buttons at screen points, as a user would.
void mouseInput(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>(at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = static_cast<LONG>(at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  thread::sleepMs(50);
}

TEST_F(RealWindow, EasyDragMovesTheWindowUnlessTheRightButtonIsHeld) {
  fill();
  window->setPlacement({100, 100, 300, 200});
  window->setEasyDrag(true);
  window->show(true, true);
  const POINT from = screenPoint(100, 80);
  mouseInput(MOUSEEVENTF_LEFTDOWN, from);
  mouseInput(0, {from.x + 20, from.y + 10});
  mouseInput(0, {from.x + 60, from.y + 30});
  mouseInput(MOUSEEVENTF_LEFTUP, {from.x + 60, from.y + 30});
  ASSERT_TRUE(waitFor([&] { return window->getPlacement().x == 160; }, 3000))
      << "the window is at " << window->getPlacement().x << ", " << window->getPlacement().y;
  EXPECT_EQ(window->getPlacement().y, 130);

  const POINT again = screenPoint(100, 80);
  mouseInput(MOUSEEVENTF_RIGHTDOWN, again);
  mouseInput(MOUSEEVENTF_LEFTDOWN, again);
  mouseInput(0, {again.x + 40, again.y + 40});
  mouseInput(MOUSEEVENTF_LEFTUP, {again.x + 40, again.y + 40});
  mouseInput(MOUSEEVENTF_RIGHTUP, {again.x + 40, again.y + 40});
  thread::sleepMs(100);
  EXPECT_EQ(window->getPlacement().x, 160);
  EXPECT_EQ(window->getPlacement().y, 130);
}

// Moves the pointer and waits until the platform reports it there: after injected
// input, Wine may take a moment before a warp shows.
bool moveCursorTo(int x, int y) {
  return waitFor([&] {
    POINT now{};
    GetCursorPos(&now);
    if (now.x == x && now.y == y) return true;
    SetCursorPos(x, y);
    return false;
  }, 2000);
}

TEST_F(RealWindow, ASkinnedFrameHasTheSkinsEdgesAndResizesFromThem) {
  ThreadRecorder recorder;
  window->addEventListener(Window::kEventDragEnded, &recorder);
  window->setSkinnedFrame(true);
  window->setPlacement({100, 100, 300, 200});
  window->show(true, true);
  EXPECT_FALSE(styleOf(hwnd) & WS_CAPTION);
  EXPECT_FALSE(exStyleOf(hwnd) & WS_EX_CLIENTEDGE);
  const auto hit = [&](int x, int y) { return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y)); };
  EXPECT_EQ(hit(298, 10), HTTOPRIGHT);
  EXPECT_EQ(hit(298, 100), HTRIGHT);
  EXPECT_EQ(hit(100, 2), HTTOP);
  EXPECT_EQ(hit(2, 190), HTBOTTOMLEFT);
  EXPECT_EQ(hit(100, 100), HTCLIENT);

  // A press on the right edge, the mouse 50 pixels further, a release; first the
  // window settles (the X server's focus changes would end a capture).
  thread::sleepMs(300);
  ASSERT_TRUE(moveCursorTo(398, 200));
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(398, 200));
  ASSERT_TRUE(moveCursorTo(448, 200));
  SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(348, 100));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(348, 100));
  EXPECT_EQ(window->getPlacement(), (Rect{100, 100, 350, 200}));
  EXPECT_EQ(recorder.count(Window::kEventDragEnded), 1);
}

// Changes the sizing record: the bottom goes 400 pixels further.
class TallerListener : public events::IEventListener {
 public:
  explicit TallerListener(Window& window) : window_(window) {}
  void onEvent(base::IObject*, int) override { window_.getSizingRecord().bottom += 400; }

 private:
  Window& window_;
};

TEST_F(RealWindow, SizingKeepsTheMinimumAndListenersMayChangeTheRectangle) {
  window->invoke([&] {
    Probe* wide = Probe::make(200, 20, 200, 20);
    window->add(wide);
  });
  TallerListener taller(*window);
  window->addEventListener(Window::kEventSizing, &taller);
  RECT r{100, 100, 150, 150};
  SendMessageW(hwnd, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
  RECT minimum{0, 0, window->getMinWidth(), window->getMinHeight()};
  AdjustWindowRectEx(&minimum, static_cast<DWORD>(styleOf(hwnd)), FALSE, static_cast<DWORD>(exStyleOf(hwnd)));
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.right, 100 + minimum.right - minimum.left);  // widened to the minimum
  EXPECT_EQ(r.bottom, 550);                                 // the listener's change
  EXPECT_EQ(window->getSizingRecord().edge, win::kBottomRight);
}

TEST_F(RealWindow, RestoreAndSignalFromAnotherProgram) {
  ThreadRecorder recorder;
  window->addEventListener(Window::kEventSignal, &recorder);
  window->show(true, false);
  window->minimize();
  ASSERT_TRUE(IsIconic(hwnd));
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  for (unsigned message : {win::kRestoreMessage, win::kSignalMessage}) {
    std::wstring command = L"\"" + std::wstring(program) + L"\" --send-message " +
                           std::to_wstring(reinterpret_cast<uintptr_t>(hwnd)) + L" " + std::to_wstring(message);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(window->isActive());
  EXPECT_EQ(recorder.count(Window::kEventSignal), 1);
}

TEST_F(RealWindow, KeepOnTopAndTheCloseButtonToTheTray) {
  window->setKeepOnTop(true);
  EXPECT_TRUE(exStyleOf(hwnd) & WS_EX_TOPMOST);
  window->setKeepOnTop(false);
  EXPECT_FALSE(exStyleOf(hwnd) & WS_EX_TOPMOST);
  EXPECT_NE(GetWindow(hwnd, GW_OWNER), nullptr);

  window->show(true, false);
  window->setCloseToTray(true);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(window->isClosed());
  EXPECT_TRUE(window->isIconizedToTray());
  EXPECT_FALSE(IsWindowVisible(hwnd));
  window->restore();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(window->isTrayIconShown());
}

TEST_F(RealWindow, TimersKeysAndTheWheelReachTheirListeners) {
  Box* box = fill();
  window->show(true, false);
  ThreadRecorder recorder;
  for (int type : {Window::kEventTimer, Window::kEventKeyDown, Window::kEventWheel}) {
    window->addEventListener(type, &recorder);
  }
  window->startTimer(3, 10);
  ASSERT_TRUE(waitFor([&] { return recorder.count(Window::kEventTimer) > 0; }));
  window->stopTimer(3);
  EXPECT_EQ(window->getLastTimer(), 3);

  SendMessageW(hwnd, WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(recorder.count(Window::kEventKeyDown), 1);
  EXPECT_EQ(window->getLastKey(), static_cast<unsigned>(VK_F5));

  // The box under the pointer does not take the wheel: the window's listeners do.
  RECT r{};
  GetWindowRect(hwndOf(*box), &r);
  UINT lines = 0;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(r.left + 5, r.top + 5));
  EXPECT_EQ(recorder.count(Window::kEventWheel), 1);
  EXPECT_EQ(window->getWheelLines(), -static_cast<int>(lines));
}

TEST_F(RealWindow, HotKeysRegisterAndReportFailures) {
  win::HotKeyRequest request{MOD_CONTROL | MOD_ALT, VK_F12, u"PictorvaTestKey", true, u"The key is taken."};
  EXPECT_EQ(window->sendMessage(win::kRegisterHotKeyMessage, reinterpret_cast<uintptr_t>(&request)), 1);
  // The same key a second time cannot be had, and the user is told.
  Owned<Window> other(Window::create());
  const int boxesBefore = QuietMessageBoxes::shown;
  EXPECT_EQ(other->sendMessage(win::kRegisterHotKeyMessage, reinterpret_cast<uintptr_t>(&request)), 0);
  EXPECT_EQ(QuietMessageBoxes::shown, boxesBefore + 1);
  EXPECT_EQ(window->sendMessage(win::kUnregisterHotKeyMessage, reinterpret_cast<uintptr_t>(u"PictorvaTestKey")), 1);
  EXPECT_EQ(other->sendMessage(win::kRegisterHotKeyMessage, reinterpret_cast<uintptr_t>(&request)), 1);
}

}  // namespace
}  // namespace s::gui::testing
