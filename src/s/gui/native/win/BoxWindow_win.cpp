#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "s/base/win/Scoped_win.h"
#include "s/gui/Component.h"
#include "s/gui/drawer/PaintState.h"
#include "s/gui/native/win/BoxWindow.h"
#include "s/gui/native/win/Font.h"
#include "s/gui/native/win/GdiCanvas.h"
#include "s/gui/native/win/NativeFactory.h"
#include "s/gui/win/Box.h"

namespace s::gui::native::win {

namespace {

// Room above and below the text of a combo box entry.
constexpr int kComboItemPadding = 4;

}  // namespace

bool BoxWindow::passMouseOn(unsigned message, uintptr_t wParam, intptr_t lParam) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  const HWND root = GetAncestor(hwnd, GA_ROOT);
  if (!root || root == hwnd) return false;
  HwndWindow* frame = fromHandle(root);
  if (!frame) return false;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(hwnd, root, &point, 1);
  return frame->childMouse(message, wParam, point.x, point.y);
}

bool BoxWindow::create(void* parentHwnd) {
  if (!registerWindowClass()) return false;
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, L"KorvelWindowClass", L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              static_cast<HWND>(parentHwnd), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  bind(hwnd, false);
  return true;
}

void BoxWindow::adoptChild(IComponent& child) {
  SendMessageW(static_cast<HWND>(hwnd_), kCreateChildMessage, 0, reinterpret_cast<LPARAM>(&child));
}

void BoxWindow::destroy() { SendMessageW(static_cast<HWND>(hwnd_), kDestroySelfMessage, 0, 0); }

void BoxWindow::paintInto(void* dc, int width, int height) {
  if (width <= 0 || height <= 0) return;
  // Painted off screen first, so a repaint never shows a half-drawn box.
  HDC target = static_cast<HDC>(dc);
  // Declared in this order, they go the other way: the selection, the bitmap, the DC.
  const base::win::OwnedDc memory(CreateCompatibleDC(target));
  const base::win::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target, width, height));
  const base::win::SelectedObject selected(memory.get(), bitmap.get());
  {
    GdiCanvas canvas(memory.get());
    drawer::PaintState state;
    state.disabled = !owner_.isEnabled();
    state.background = owner_.getEffectiveBackground();
    owner_.paint(canvas, {0, 0, width, height}, state);
  }
  BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

bool BoxWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  switch (message) {
    case kCreateChildMessage:
      reinterpret_cast<IComponent*>(lParam)->setParent(&owner_);
      return true;
    case kDestroySelfMessage:
      DestroyWindow(hwnd);
      return true;
    case WM_DROPFILES:
      if (auto* box = dynamic_cast<gui::win::Box*>(&owner_)) {
        box->nativeFilesDropped(reinterpret_cast<void*>(wParam));
      } else {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      }
      return true;
    case kWebAddressDroppedMessage:
      if (auto* box = dynamic_cast<gui::win::Box*>(&owner_)) box->webAddressDropped();
      return true;
    case WM_DESTROY:
      if (auto* box = dynamic_cast<gui::win::Box*>(&owner_)) box->nativeWindowDestroying();
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      // The top-level window hears the mouse on the boxes that cover its client area.
      return passMouseOn(message, wParam, lParam);
    case WM_ERASEBKGND:
      result = 1;  // WM_PAINT covers every pixel
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      RECT client;
      GetClientRect(hwnd, &client);
      paintInto(dc, client.right, client.bottom);
      EndPaint(hwnd, &paint);
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
      paintInto(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
      return true;
    }
    case WM_MEASUREITEM: {
      // Owner-drawn combo boxes ask while they are being created, before their object
      // is bound; every entry is a line of the toolkit font high.
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_COMBOBOX) return false;
      measure->itemHeight = static_cast<UINT>(measureInToolkitFont(u"").height + kComboItemPadding);
      result = TRUE;
      return true;
    }
    case WM_COMMAND:
      if (HwndWindow* child = fromHandle(reinterpret_cast<HWND>(lParam))) {
        return child->handleReflected(message, wParam, lParam, result);
      }
      return false;
    case WM_DRAWITEM:
      if (HwndWindow* child = fromHandle(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem)) {
        return child->handleReflected(message, wParam, lParam, result);
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HwndWindow* child = fromHandle(reinterpret_cast<HWND>(lParam))) {
        return child->handleReflected(message, wParam, lParam, result);
      }
      return false;
    default:
      return false;
  }
}

}  // namespace s::gui::native::win
