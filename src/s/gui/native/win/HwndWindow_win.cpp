#include <windows.h>
#include <commctrl.h>

#include "s/gui/Component.h"
#include "s/gui/native/win/Font.h"
#include "s/gui/native/win/HwndWindow.h"
#include "s/gui/native/win/NativeFactory.h"

namespace s::gui::native::win {

namespace {

constexpr UINT_PTR kSubclassId = 1;
// The window property that holds a window's object. A property rather than the user
// data: a window of another kind may use its user data for something else.
constexpr wchar_t kObjectProperty[] = L"s.gui.native.HwndWindow";

LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  (void)hwnd;
  return reinterpret_cast<HwndWindow*>(data)->dispatch(message, wParam, lParam);
}

HWND handleOf(const HwndWindow* window) { return static_cast<HWND>(window->getHandle()); }

}  // namespace

HwndWindow::~HwndWindow() = default;

void HwndWindow::bind(void* hwnd, bool subclass) {
  hwnd_ = hwnd;
  SetPropW(static_cast<HWND>(hwnd), kObjectProperty, this);
  if (subclass) subclassed_ = SetWindowSubclass(static_cast<HWND>(hwnd), subclassProc, kSubclassId,
                                                reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

HwndWindow* HwndWindow::fromHandle(void* hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<HwndWindow*>(GetPropW(static_cast<HWND>(hwnd), kObjectProperty));
}

intptr_t HwndWindow::dispatch(unsigned message, uintptr_t wParam, intptr_t lParam) {
  const HWND hwnd = handleOf(this);
  if (message == WM_NCDESTROY) {
    // Last message of the window: finish the platform's part, then let go of the
    // object. Nothing of this may be touched afterwards.
    if (subclassed_) RemoveWindowSubclass(hwnd, subclassProc, kSubclassId);
    LRESULT result = subclassed_ ? DefSubclassProc(hwnd, message, wParam, lParam)
                                 : DefWindowProcW(hwnd, message, wParam, lParam);
    RemovePropW(hwnd, kObjectProperty);
    hwnd_ = nullptr;
    notifyDestroyed();
    delete this;
    return result;
  }
  intptr_t result = 0;
  if (handleMessage(message, wParam, lParam, result)) return result;
  return defaultProcessing(message, wParam, lParam);
}

intptr_t HwndWindow::defaultProcessing(unsigned message, uintptr_t wParam, intptr_t lParam) {
  const HWND hwnd = handleOf(this);
  return subclassed_ ? DefSubclassProc(hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

bool HwndWindow::handleMessage(unsigned, uintptr_t, intptr_t, intptr_t&) { return false; }

bool HwndWindow::handleReflected(unsigned, uintptr_t, intptr_t, intptr_t&) { return false; }

void HwndWindow::setGeometry(int x, int y, int width, int height, unsigned parts, bool show) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : 0);
  if (!(parts & kMove)) flags |= SWP_NOMOVE;
  if (!(parts & kResize)) flags |= SWP_NOSIZE;
  SetWindowPos(handleOf(this), nullptr, x, y, width < 0 ? 0 : width, height < 0 ? 0 : height, flags);
}

void HwndWindow::setShown(bool shown) { ShowWindow(handleOf(this), shown ? SW_SHOWNA : SW_HIDE); }

void HwndWindow::setEnabled(bool enabled) { EnableWindow(handleOf(this), enabled ? TRUE : FALSE); }

void HwndWindow::redraw() {
  RedrawWindow(handleOf(this), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

NativeWindow* HwndWindow::createChild(Component& child) { return createNativeWindow(child, hwnd_); }

void HwndWindow::adoptChild(IComponent& child) { child.setParent(&owner_); }

Size HwndWindow::measureText(std::u16string_view text) const { return measureInToolkitFont(text); }

void HwndWindow::refresh() { InvalidateRect(handleOf(this), nullptr, TRUE); }

void HwndWindow::destroy() { DestroyWindow(handleOf(this)); }

}  // namespace s::gui::native::win
