#include <windows.h>

#include <algorithm>

#include "s/base/win/Scoped_win.h"
#include "s/file/WideText.h"
#include "s/gui/native/win/ComboBoxWindow.h"
#include "s/gui/native/win/Font.h"
#include "s/gui/native/win/GdiCanvas.h"
#include "s/gui/win/ComboBox.h"

namespace s::gui::native::win {

namespace {

// Entries shown at once in the open list.
constexpr int kVisibleEntries = 8;
// Room above and below an entry's text (the parent answers WM_MEASUREITEM alike).
constexpr int kItemPadding = 4;

gui::win::ComboBox& comboOf(Component& owner) { return static_cast<gui::win::ComboBox&>(owner); }

int itemHeight() { return measureInToolkitFont(u"").height + kItemPadding; }

}  // namespace

bool ComboBoxWindow::create(void* parentHwnd) {
  if (!createControl(parentHwnd, L"COMBOBOX",
                     CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP)) {
    return false;
  }
  const HWND hwnd = static_cast<HWND>(hwnd_);
  SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight());
  SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, itemHeight());
  return true;
}

void ComboBoxWindow::refresh() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  gui::win::ComboBox& combo = comboOf(owner_);
  SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < combo.getItemCount(); ++i) {
    const auto text = combo.getItemText(i);
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(file::wide(text))));
  }
  SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.getSelected()), 0);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void ComboBoxWindow::setGeometry(int x, int y, int width, int height, unsigned parts, bool show) {
  const int entries = std::clamp(comboOf(owner_).getItemCount(), 1, kVisibleEntries);
  HwndWindow::setGeometry(x, y, width, height + entries * itemHeight() + 2, parts, show);
}

bool ComboBoxWindow::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  // A visual style may draw the edge in the client or the non-client area: after
  // either, the skin's edge goes over it.
  if (message == WM_PAINT || message == WM_NCPAINT) {
    result = defaultProcessing(message, wParam, lParam);
    paintEdge();
    return true;
  }
  return ControlWindow::handleMessage(message, wParam, lParam, result);
}

void ComboBoxWindow::paintEdge() {
  const HWND hwnd = static_cast<HWND>(hwnd_);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(hwnd, &info)) return;
  // In window coordinates: the closed box is as high as the entry field with the same
  // edge below it as above.
  RECT window{};
  GetWindowRect(hwnd, &window);
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  const int dx = client.x - window.left;
  const int dy = client.y - window.top;
  RECT box{0, 0, window.right - window.left, info.rcItem.bottom + info.rcItem.top + 2 * dy};
  RECT button = info.rcButton;
  OffsetRect(&button, dx, dy);
  RECT field = info.rcItem;
  OffsetRect(&field, dx, dy);
  const base::win::WindowDc windowDc = base::win::WindowDc::whole(hwnd);
  const HDC dc = windowDc.get();
  // Everything but the arrow button is painted again: the background, the chosen
  // entry in the field (a visual style may have framed it), and the frame colour on
  // the outermost line.
  ExcludeClipRect(dc, button.left, button.top, button.right, button.bottom);
  gui::win::ComboBox& combo = comboOf(owner_);
  {
    GdiCanvas canvas(dc);
    canvas.fillRect({0, 0, box.right, box.bottom}, combo.getEffectiveBackground());
    drawer::PaintState state;
    state.focused = GetFocus() == hwnd;
    combo.paintItem(canvas, {field.left, field.top, field.right - field.left, field.bottom - field.top},
                    combo.getSelected(), state, true);
  }
  SelectClipRgn(dc, nullptr);
  SetDCBrushColor(dc, combo.getFrameColour());
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void ComboBoxWindow::command(unsigned code) {
  if (code != CBN_SELCHANGE) return;
  const auto index = static_cast<int>(SendMessageW(static_cast<HWND>(hwnd_), CB_GETCURSEL, 0, 0));
  comboOf(owner_).nativeSelectionChanged(index);
}

void ComboBoxWindow::drawItem(const void* item) {
  const auto* draw = static_cast<const DRAWITEMSTRUCT*>(item);
  drawer::PaintState state = stateOf(item);
  // In a combo box, "selected" marks the entry under the pointer, not a press.
  state.selected = state.pressed;
  state.pressed = false;
  const bool inField = (draw->itemState & ODS_COMBOBOXEDIT) != 0;
  const int index = static_cast<int>(draw->itemID);  // −1 (as UINT) without an entry
  GdiCanvas canvas(draw->hDC);
  const RECT& r = draw->rcItem;
  comboOf(owner_).paintItem(canvas, {r.left, r.top, r.right - r.left, r.bottom - r.top}, index, state, inField);
}

}  // namespace s::gui::native::win
