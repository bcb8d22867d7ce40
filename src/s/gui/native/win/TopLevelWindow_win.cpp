#include <windows.h>

#include "s/base/win/Scoped_win.h"
#include "s/file/WideText.h"
#include "s/gui/drawer/IMenu.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/native/win/GdiCanvas.h"
#include "s/gui/native/win/NativeFactory.h"
#include "s/gui/native/win/TopLevelWindow.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/TopLevelBase.h"

namespace s::gui::native::win {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

}  // namespace

TopLevelWindow::TopLevelWindow(gui::win::TopLevelBase& host) : BoxWindow(host), host_(host) {}

Size TopLevelWindow::windowSizeFor(int width, int height) const {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const DWORD style = hwnd ? static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) : kStyle;
  const DWORD exStyle = hwnd ? static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)) : kExStyle;
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, style, hwnd && GetMenu(hwnd) ? TRUE : FALSE, exStyle);
  return {static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)};
}

bool TopLevelWindow::createFrame(unsigned long exStyle, unsigned long style, std::u16string_view title, int x, int y,
                                 int width, int height, void* owner, void* menu) {
  if (!registerWindowClass()) return false;
  HWND hwnd = CreateWindowExW(exStyle, L"KorvelWindowClass", file::wide(title), style, x, y, width, height,
                              static_cast<HWND>(owner), static_cast<HMENU>(menu), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  bind(hwnd, false);
  return true;
}

bool TopLevelWindow::createWithClientSize(std::u16string_view title, int width, int height, void* menu) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, kStyle, menu ? TRUE : FALSE, kExStyle);
  return createFrame(kExStyle, kStyle, title, CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                     rect.bottom - rect.top, nullptr, menu);
}

Size TopLevelWindow::getClientSize() const {
  RECT client{};
  GetClientRect(static_cast<HWND>(hwnd_), &client);
  return {static_cast<int>(client.right), static_cast<int>(client.bottom)};
}

void TopLevelWindow::setGeometry(int x, int y, int width, int height, unsigned parts, bool show) {
  const Size outer = windowSizeFor(width, height);
  BoxWindow::setGeometry(x, y, outer.width, outer.height, parts, show);
}

void TopLevelWindow::paintMenuBarGap() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  HMENU menu = GetMenu(hwnd);
  if (!menu || !host_.getMenuBar()) return;
  MENUBARINFO bar{};
  bar.cbSize = sizeof(bar);
  if (!GetMenuBarInfo(hwnd, OBJID_MENU, 0, &bar)) return;
  RECT window{};
  GetWindowRect(hwnd, &window);
  const base::win::WindowDc windowDc = base::win::WindowDc::whole(hwnd);
  const HDC dc = windowDc.get();
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    RECT item{};
    if (GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &item)) {
      ExcludeClipRect(dc, item.left - window.left, item.top - window.top, item.right - window.left,
                      item.bottom - window.top);
    }
  }
  RECT gap = bar.rcBar;
  OffsetRect(&gap, -window.left, -window.top);
  SetDCBrushColor(dc, host_.getSkin().getMenuDrawer()->getBackgroundColour());
  FillRect(dc, &gap, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TopLevelWindow::setShown(bool shown) { ShowWindow(static_cast<HWND>(hwnd_), shown ? SW_SHOW : SW_HIDE); }

bool TopLevelWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) host_.nativeWindowResized(LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_GETMINMAXINFO: {
      const Size smallest = windowSizeFor(host_.getMinWidth(), host_.getMinHeight());
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = smallest.width;
      info->ptMinTrackSize.y = smallest.height;
      return true;
    }
    case WM_COMMAND:
      // A command from the menu bar: no control and notification code 0.
      if (lParam == 0 && HIWORD(wParam) == 0 && host_.getMenuBar()) {
        host_.getMenuBar()->nativeCommand(LOWORD(wParam));
        return true;
      }
      return BoxWindow::handleMessage(message, wParam, lParam, result);
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_MENU || !measure->itemData) break;
      Size size;
      {
        const base::win::WindowDc dc(hwnd);
        GdiCanvas canvas(dc.get());
        size = gui::win::MenuEx::measureItem(*reinterpret_cast<gui::win::MenuEx::Item*>(measure->itemData), canvas);
      }
      measure->itemWidth = static_cast<UINT>(size.width);
      measure->itemHeight = static_cast<UINT>(size.height);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType != ODT_MENU || !draw->itemData) break;
      drawer::PaintState state;
      state.hot = (draw->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
      state.disabled = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
      GdiCanvas canvas(draw->hDC);
      const RECT& r = draw->rcItem;
      gui::win::MenuEx::paintItem(*reinterpret_cast<gui::win::MenuEx::Item*>(draw->itemData), canvas,
                                  {r.left, r.top, r.right - r.left, r.bottom - r.top}, state, host_.getSkin());
      result = TRUE;
      return true;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      // The platform paints the frame and the menu bar's items; the rest of the bar gets
      // the skin's menu background.
      result = DefWindowProcW(hwnd, message, wParam, lParam);
      paintMenuBarGap();
      return true;
    case WM_DESTROY:
      // The menu belongs to the host's menu object, not to the window.
      SetMenu(hwnd, nullptr);
      host_.frameDestroyed();
      return false;
    default:
      break;
  }
  return BoxWindow::handleMessage(message, wParam, lParam, result);
}

}  // namespace s::gui::native::win
