// The leaf controls as real platform controls: their sizes in the real font, and the
// platform's notifications turned into component state and events.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "s/gui/native/win/Font.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/TextField.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using namespace win;

// The extent of text in the system's message font, measured here without the toolkit.
SIZE extentInMessageFont(const wchar_t* text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  TEXTMETRICW textMetrics{};
  GetTextMetricsW(dc, &textMetrics);
  size.cy = textMetrics.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return size;
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    host.reset(HostWindow::create());
    ASSERT_TRUE(host->open(u"Controls", 400, 300));
  }
  QuietMessageBoxes quiet;
  Owned<HostWindow> host;
  EventRecorder recorder;
};

TEST_F(Controls, SizesComeFromTheMessageFont) {
  Label* label = Label::create();
  label->setText(u"Please drop image files here!");
  CheckBox* check = CheckBox::create();
  check->setText(u"Keep on Top");
  host->add(label);
  host->add(check);
  const SIZE text = extentInMessageFont(L"Please drop image files here!");
  EXPECT_GT(text.cx, 0);
  EXPECT_EQ(label->getPreferredWidth(), text.cx);
  EXPECT_EQ(label->getPreferredHeight(), text.cy);
  const SIZE keep = extentInMessageFont(L"Keep on Top");
  EXPECT_EQ(check->getPreferredWidth(), keep.cx + keep.cy + keep.cy / 6);
  EXPECT_EQ(check->getPreferredHeight(), keep.cy);
  EXPECT_EQ(windowRect(hwndOf(*label), hwndOf(*host)), (Rect{1, 1, static_cast<int>(text.cx), static_cast<int>(text.cy)}));
  // The platform holds the texts as well.
  wchar_t buffer[64] = {};
  GetWindowTextW(hwndOf(*check), buffer, 64);
  EXPECT_STREQ(buffer, L"Keep on Top");
}

TEST_F(Controls, ClicksBecomeEvents) {
  Button* button = Button::create();
  button->setText(u"Advanced Options >>");
  CheckBox* check = CheckBox::create();
  check->setText(u"Keep on Top");
  button->addListener(&recorder);
  check->addListener(&recorder);
  host->add(button);
  host->add(check);
  SendMessageW(hwndOf(*button), BM_CLICK, 0, 0);
  SendMessageW(hwndOf(*check), BM_CLICK, 0, 0);
  EXPECT_TRUE(check->isChecked());
  SendMessageW(hwndOf(*check), BM_CLICK, 0, 0);
  EXPECT_FALSE(check->isChecked());
  ASSERT_EQ(recorder.events.size(), 3u);
  EXPECT_EQ(recorder.events[0].first, static_cast<base::IObject*>(button));
  EXPECT_EQ(recorder.events[1].first, static_cast<base::IObject*>(check));
}

TEST_F(Controls, ComboBoxListsItsEntriesAndReportsTheUsersChoice) {
  ComboBox* combo = ComboBox::create();
  combo->addItem(u"Tile");
  combo->addItem(u"Flat");
  combo->setSelected(0);
  combo->addListener(&recorder);
  host->add(combo);
  HWND hwnd = hwndOf(*combo);
  EXPECT_EQ(SendMessageW(hwnd, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(hwnd, CB_GETCURSEL, 0, 0), 0);
  // What the platform does when the user picks the second entry.
  SendMessageW(hwnd, CB_SETCURSEL, 1, 0);
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(hwnd));
  EXPECT_EQ(combo->getSelected(), 1);
  EXPECT_EQ(recorder.count(ComboBox::kEventSelectionChanged), 1);
  // The closed box is as high as the layout made it.
  RECT box{};
  SendMessageW(hwnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&box));
  EXPECT_GT(box.bottom - box.top, combo->getHeight());
}

TEST_F(Controls, TextFieldFollowsTheUsersEditsButNotItsOwn) {
  TextField* field = TextField::create();
  field->setText(u"Thumbnail (Tile)");
  field->addListener(&recorder);
  host->add(field);
  HWND hwnd = hwndOf(*field);
  wchar_t buffer[64] = {};
  GetWindowTextW(hwnd, buffer, 64);
  EXPECT_STREQ(buffer, L"Thumbnail (Tile)");
  EXPECT_EQ(recorder.events.size(), 0u);
  SetWindowTextW(hwnd, L"My pictures");  // as typing would
  EXPECT_EQ(field->getText(), u"My pictures");
  EXPECT_EQ(recorder.count(TextField::kEventChanged), 1);
  field->setText(u"Again");
  EXPECT_EQ(recorder.count(TextField::kEventChanged), 1);
}

TEST_F(Controls, LabelReportsClicksAndProgressBarItsRange) {
  Label* link = Label::create();
  link->setText(u"tarn");
  link->setLinkMode(true);
  link->addListener(&recorder);
  ProgressBar* bar = ProgressBar::create();
  host->add(link);
  host->add(bar);
  SendMessageW(hwndOf(*link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(hwndOf(*link), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  pumpMessages();
  EXPECT_GE(recorder.count(Label::kEventClicked), 1);

  bar->setRange(0, 1001);
  bar->setPosition(500);
  EXPECT_EQ(SendMessageW(hwndOf(*bar), PBM_GETPOS, 0, 0), 500);
  EXPECT_EQ(SendMessageW(hwndOf(*bar), PBM_GETRANGE, FALSE, 0), 1001);
  bar->setPosition(20000000);  // beyond 24 bits: unchanged
  EXPECT_EQ(SendMessageW(hwndOf(*bar), PBM_GETPOS, 0, 0), 500);
}

TEST_F(Controls, MenuBarCommandsReachTheMenusListeners) {
  host->close();
  Owned<MenuEx> bar(MenuEx::create());
  MenuEx* view = bar->addSubMenu(u"View");
  view->addItem(100, u"Keep on Top");
  view->addItem(120, u"Easy Drag");
  bar->addListener(&recorder);
  host->setMenuBar(bar.get());
  ASSERT_TRUE(host->open(u"Menu", 400, 300));
  HWND hwnd = hwndOf(*host);
  HMENU menu = GetMenu(hwnd);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  bar->setChecked(120, true);
  EXPECT_TRUE(GetMenuState(menu, 120, MF_BYCOMMAND) & MF_CHECKED);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(120, 0), 0);
  EXPECT_EQ(bar->getCommand(), 120);
  EXPECT_EQ(recorder.count(MenuEx::kEventCommand), 1);
  // The client area keeps the size asked for, below the menu bar.
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 400);
  host->close();
  host->setMenuBar(nullptr);
}

}  // namespace
}  // namespace s::gui::testing
