#include <windows.h>
#include <windowsx.h>

#include "s/gui/native/win/FrameWindow.h"
#include "s/gui/win/FrameGeometry.h"
#include "s/gui/win/Window.h"

namespace s::gui::native::win {

namespace {

using gui::win::Window;

// User timers are the platform's timers from this number on.
constexpr UINT_PTR kFirstUserTimer = 10000;

Rect rectOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

Rect windowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return rectOf(r);
}

bool rightButtonHeld() { return (GetKeyState(VK_RBUTTON) & 0x8000) != 0; }

// The hit-test code of a window edge (HTLEFT ... HTBOTTOMRIGHT are the platform's
// sizing edges plus 9).
LRESULT hitCodeOf(int edge) { return HTLEFT - WMSZ_LEFT + gui::win::edgeToPlatform(edge); }

int edgeOfHitCode(WPARAM code) {
  return code >= HTLEFT && code <= HTBOTTOMRIGHT ? gui::win::edgeFromPlatform(static_cast<int>(code - HTLEFT + WMSZ_LEFT))
                                                 : gui::win::kNoEdge;
}

}  // namespace

FrameWindow::FrameWindow(gui::win::Window& window) : TopLevelWindow(window), window_(window) {}

bool FrameWindow::create(void* owner, unsigned long exStyle, unsigned long style) {
  return createFrame(exStyle, style, u"Window", CW_USEDEFAULT, CW_USEDEFAULT, 240, 120, owner, nullptr);
}

Size FrameWindow::minimumOuterSize() const { return windowSizeFor(window_.getMinWidth(), window_.getMinHeight()); }

bool FrameWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  if (window_.handleToolkitMessage(message, wParam, lParam, result)) return true;
  const HWND hwnd = static_cast<HWND>(hwnd_);
  switch (message) {
    case WM_CLOSE:
      // Closed already: the platform's processing destroys the window.
      return window_.closeRequested();
    case WM_SYSCOMMAND:
      return (wParam & 0xFFF0) == SC_CLOSE && window_.systemCloseRequested();
    case WM_NCHITTEST:
      result = hitTest(wParam, lParam);
      return true;
    case WM_NCLBUTTONDOWN: {
      const int edge = edgeOfHitCode(wParam);
      window_.report(Window::kEventLeftButtonDown);
      if (window_.isSkinnedFrame() && edge != gui::win::kNoEdge) {
        beginResize(edge);
        return true;
      }
      return false;
    }
    case WM_NCLBUTTONUP:
      window_.report(Window::kEventLeftButtonUp);
      return false;
    case WM_NCLBUTTONDBLCLK:
      window_.report(Window::kEventLeftDoubleClick);
      return false;
    case WM_NCMBUTTONDOWN:
      window_.middleButtonPressed();
      return false;
    case WM_NCMOUSEMOVE:
      window_.report(Window::kEventMouseMoved);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      return mouseMessage(message, wParam, lParam);
    case WM_ENTERSIZEMOVE:
      moving_ = true;
      return false;
    case WM_EXITSIZEMOVE:
    case WM_CAPTURECHANGED:
      if (moving_ || resizing_) dragEnded();
      return false;
    case WM_SIZE:
      window_.sizeChanged(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
      return true;
    case WM_SIZING:
      sizing(static_cast<int>(wParam), reinterpret_cast<void*>(lParam));
      result = TRUE;
      return true;
    case WM_WINDOWPOSCHANGING:
      positionChanging(reinterpret_cast<void*>(lParam));
      return false;
    case WM_WINDOWPOSCHANGED: {
      // The platform's processing sends the size and move messages first.
      result = defaultProcessing(message, wParam, lParam);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      window_.positionChanged((pos->flags & SWP_NOMOVE) == 0, windowRectOf(hwnd));
      return true;
    }
    case WM_ACTIVATE:
      window_.activated(LOWORD(wParam) != WA_INACTIVE);
      return false;
    case WM_KEYDOWN:
      window_.keyPressed(static_cast<unsigned>(wParam));
      return false;
    case WM_MOUSEWHEEL:
      result = wheel(wParam, lParam) ? 0 : 1;
      return true;
    case WM_TIMER:
      if (wParam < kFirstUserTimer) return false;
      window_.timerElapsed(static_cast<int>(wParam - kFirstUserTimer));
      return true;
    case WM_HOTKEY:
      window_.hotKeyPressed(static_cast<int>(wParam));
      return true;
    case WM_CLIPBOARDUPDATE:
      window_.report(Window::kEventClipboardChanged);
      return true;
    default:
      break;
  }
  return TopLevelWindow::handleMessage(message, wParam, lParam, result);
}

bool FrameWindow::childMouse(unsigned message, uintptr_t wParam, int x, int y) {
  // A left press on a box with easy drag moves the window as a press on the caption
  // would (the press on the caption raises the left-button event).
  if (message == WM_LBUTTONDOWN && window_.isEasyDrag() && !(wParam & MK_RBUTTON) && !rightButtonHeld()) {
    POINT screen{x, y};
    ClientToScreen(static_cast<HWND>(hwnd_), &screen);
    ReleaseCapture();
    SendMessageW(static_cast<HWND>(hwnd_), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    return true;
  }
  return mouseMessage(message, wParam, MAKELPARAM(x, y));
}

bool FrameWindow::mouseMessage(unsigned message, uintptr_t wParam, intptr_t) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  switch (message) {
    case WM_LBUTTONDOWN:
      window_.report(Window::kEventLeftButtonDown);
      SetFocus(hwnd);
      return true;
    case WM_LBUTTONUP:
      if (resizing_) ReleaseCapture();  // ends the resize (WM_CAPTURECHANGED)
      window_.report(Window::kEventLeftButtonUp);
      return true;
    case WM_LBUTTONDBLCLK:
      window_.report(Window::kEventLeftDoubleClick);
      return true;
    case WM_MBUTTONDOWN:
      window_.middleButtonPressed();
      return true;
    case WM_RBUTTONDOWN:
      window_.rightButtonPressed();
      return true;
    case WM_RBUTTONUP:
      window_.report(Window::kEventRightButtonUp);
      return true;
    case WM_MOUSEMOVE:
      if (resizing_ && (wParam & MK_LBUTTON)) followResize();
      window_.report(Window::kEventMouseMoved);
      return true;
    default:
      return false;
  }
}

intptr_t FrameWindow::hitTest(uintptr_t wParam, intptr_t lParam) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  LRESULT hit = defaultProcessing(WM_NCHITTEST, wParam, lParam);
  if (window_.isSkinnedFrame() && hit == HTCLIENT) {
    const Rect frame = windowRectOf(hwnd);
    const int edge = gui::win::skinnedEdgeAt(GET_X_LPARAM(lParam) - frame.x, GET_Y_LPARAM(lParam) - frame.y,
                                             frame.width, frame.height);
    if (edge != gui::win::kNoEdge && window_.isResizable()) return hitCodeOf(edge);
  }
  if (hit == HTCLIENT && window_.isEasyDrag() && !rightButtonHeld()) hit = HTCAPTION;
  return hit;
}

void FrameWindow::beginResize(int edge) {
  POINT cursor{};
  GetCursorPos(&cursor);
  resizing_ = true;
  resizeEdge_ = edge;
  resizeStart_ = windowRectOf(static_cast<HWND>(hwnd_));
  resizeFromX_ = cursor.x;
  resizeFromY_ = cursor.y;
  SetCapture(static_cast<HWND>(hwnd_));
}

void FrameWindow::followResize() {
  POINT cursor{};
  GetCursorPos(&cursor);
  const Size minimum = minimumOuterSize();
  const Rect r = gui::win::resizedFrom(resizeStart_, resizeEdge_, cursor.x - resizeFromX_, cursor.y - resizeFromY_,
                                       minimum.width, minimum.height);
  SetWindowPos(static_cast<HWND>(hwnd_), nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrameWindow::dragEnded() {
  moving_ = false;
  resizing_ = false;
  window_.report(Window::kEventDragEnded);
}

void FrameWindow::sizing(int platformEdge, void* rect) {
  auto* r = static_cast<RECT*>(rect);
  gui::win::SizingRecord& record = window_.getSizingRecord();
  record = {gui::win::edgeFromPlatform(platformEdge), r->left, r->top, r->right, r->bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(static_cast<HWND>(hwnd_), MONITOR_DEFAULTTONEAREST), &monitor)) {
    gui::win::fitToWorkAreaHeight(record, monitor.rcWork.bottom - monitor.rcWork.top);
  }
  window_.report(Window::kEventSizing);
  const Size minimum = minimumOuterSize();
  gui::win::enforceMinimumSize(record, minimum.width, minimum.height);
  *r = RECT{record.left, record.top, record.right, record.bottom};
}

void FrameWindow::positionChanging(void* windowPos) {
  auto* pos = static_cast<WINDOWPOS*>(windowPos);
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const bool movesOrSizes = (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
  if (window_.keepsInside() && movesOrSizes && !IsIconic(hwnd) && !IsZoomed(hwnd)) {
    const Rect now = windowRectOf(hwnd);
    Rect proposed = now;
    if (!(pos->flags & SWP_NOMOVE)) proposed.x = pos->x, proposed.y = pos->y;
    if (!(pos->flags & SWP_NOSIZE)) proposed.width = pos->cx, proposed.height = pos->cy;
    Rect area;
    if (GetSystemMetrics(SM_CMONITORS) >= 2) {
      area = window_.getVirtualScreen();
    } else {
      area = window_.getWorkArea();
    }
    const Rect inside = gui::win::keptInside(proposed, area);
    if (inside.x != proposed.x || inside.y != proposed.y) {
      // A resize alone that would cross the area moves the window instead.
      pos->x = inside.x;
      pos->y = inside.y;
      pos->flags &= ~SWP_NOMOVE;
    }
  }
  window_.report(Window::kEventPositionChanging);
}

bool FrameWindow::wheel(uintptr_t wParam, intptr_t lParam) {
  // A box inside passes the wheel up to its parent, which brings it back here: while
  // the children are being asked, that answer is "not consumed".
  if (wheelForwarding_) return false;
  const POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  wheelForwarding_ = true;
  bool consumed = false;
  for (int i = 0; i < window_.getChildCount() && !consumed; ++i) {
    IComponent* child = window_.getChild(i);
    if (!child->isContainer() || !child->isShown()) continue;
    const HWND childHwnd = static_cast<HWND>(child->getNativeWindow()->getHandle());
    RECT r{};
    GetWindowRect(childHwnd, &r);
    if (PtInRect(&r, cursor)) consumed = SendMessageW(childHwnd, WM_MOUSEWHEEL, wParam, lParam) == 0;
  }
  wheelForwarding_ = false;
  if (consumed) return true;
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return window_.wheelTurned(GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? -static_cast<int>(lines) : static_cast<int>(lines));
}

}  // namespace s::gui::native::win
