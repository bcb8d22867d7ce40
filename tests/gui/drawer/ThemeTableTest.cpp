// The themes as the skins are built from them: each row below is a theme as written in
// the product's design (colours c1 … c15, or background, frame, text, c4 … c6), and
// each skin of the skinner must give every one of them back from the drawer and the
// setter the design assigns it to.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/button/win/Thin.h"
#include "s/gui/drawer/checkbox/win/Thin.h"
#include "s/gui/drawer/combo/win/Thin.h"
#include "s/gui/drawer/counter/win/Basic.h"
#include "s/gui/drawer/groupbox/win/Thin.h"
#include "s/gui/drawer/listbox/win/Thin.h"
#include "s/gui/drawer/listheader/win/Thin.h"
#include "s/gui/drawer/menu/win/Basic.h"
#include "s/gui/drawer/radiobutton/win/Thin.h"
#include "s/gui/drawer/scrollbar/win/Thin.h"
#include "s/gui/drawer/skin/ThinWindow.h"
#include "s/gui/drawer/slider/win/Thin.h"
#include "s/gui/drawer/statusbar/win/Thin.h"
#include "s/gui/drawer/tabbox/win/Thin.h"
#include "s/gui/drawer/text/win/Basic.h"
#include "s/gui/drawer/window/win/Thin.h"
#include "s/thread/Owned.h"

namespace s::gui::drawer {
namespace {

// clang-format off
struct WindowThemeRow { int id; const char16_t* name; const char* colours; };
const WindowThemeRow kWindowThemes[] = {
    {1, u"Black", "51,51,51 85,85,85 85,85,85 176,176,176 176,176,176 255,255,255 51,51,51 153,153,153 204,204,204 0,0,0 255,255,255 0,0,0 238,238,238 213,235,107 255,165,0"},
    {2, u"Ivory", "242,240,230 0,0,0 170,170,170 0,0,0 0,0,0 0,0,0 238,238,238 176,176,176 176,176,176 240,238,228 255,255,255 0,0,0 238,238,238 176,176,176 255,165,0"},
    {3, u"White", "255,255,255 68,68,68 204,204,204 68,68,68 68,68,68 0,0,0 238,238,238 119,119,119 119,119,119 255,255,255 255,255,255 0,0,0 238,238,238 119,119,119 255,165,0"},
    {4, u"Beige", "236,233,216 0,0,0 170,170,170 0,0,0 0,0,0 0,0,0 238,238,238 168,162,128 168,162,128 236,233,216 255,255,255 0,0,0 238,238,238 168,162,128 255,165,0"},
    {6, u"Sky Blue", "194,223,255 87,133,255 87,133,255 87,133,255 87,133,255 0,0,0 238,238,238 87,133,255 87,133,255 255,255,255 255,255,255 0,0,0 238,238,238 87,133,255 255,165,0"},
    {7, u"Yellow", "252,255,91 224,206,0 224,206,0 224,206,0 224,206,0 0,0,0 238,238,238 224,206,0 224,206,0 255,255,255 255,255,255 0,0,0 238,238,238 168,255,83 255,165,0"},
    {8, u"Pink", "255,194,230 255,93,162 255,93,162 255,93,162 255,93,162 0,0,0 238,238,238 255,93,162 255,93,162 255,255,255 255,255,255 0,0,0 238,238,238 255,48,92 255,165,0"},
    {9, u"Salmon Red", "255,48,92 255,189,203 255,189,203 255,189,203 255,189,203 255,255,255 51,51,51 255,189,203 255,189,203 255,48,92 255,255,255 0,0,0 238,238,238 255,194,230 255,165,0"},
    {10, u"Green", "184,255,61 129,160,7 129,160,7 129,160,7 129,160,7 0,0,0 238,238,238 143,175,17 143,175,17 255,255,255 255,255,255 0,0,0 238,238,238 143,175,17 255,165,0"},
    {11, u"Khaki", "62,92,0 146,185,65 146,185,65 146,185,65 146,185,65 255,255,255 51,51,51 221,135,2 221,135,2 62,92,0 255,255,255 0,0,0 238,238,238 213,235,107 255,165,0"},
    {12, u"Indigo", "49,0,130 192,125,255 192,125,255 192,125,255 192,125,255 255,255,255 51,51,51 195,158,255 195,158,255 49,0,130 255,255,255 0,0,0 238,238,238 192,125,255 255,165,0"},
    {13, u"Orange", "255,207,61 221,135,2 221,135,2 221,135,2 221,135,2 0,0,0 238,238,238 221,135,2 221,135,2 255,255,255 255,255,255 0,0,0 238,238,238 255,255,255 255,165,0"},
    {16, u"Black II", "51,51,51 85,85,85 85,85,85 176,176,176 176,176,176 221,221,221 51,51,51 153,153,153 204,204,204 0,0,0 255,255,255 0,0,0 238,238,238 213,235,107 255,165,0"},
    {17, u"Black Black", "0,0,0 51,51,51 51,51,51 176,176,176 176,176,176 255,255,255 51,51,51 153,153,153 204,204,204 0,0,0 255,255,255 0,0,0 238,238,238 213,235,107 255,165,0"},
    {18, u"Black Black II", "0,0,0 51,51,51 51,51,51 176,176,176 176,176,176 221,221,221 51,51,51 153,153,153 204,204,204 0,0,0 255,255,255 0,0,0 238,238,238 213,235,107 255,165,0"},
    {19, u"Classic LG", "116,116,116 17,17,17 86,86,86 17,17,17 17,17,17 255,255,255 51,51,51 116,116,116 25,25,25 255,255,255 49,49,49 191,191,191 56,56,56 195,234,0 25,25,25"},
};
struct ThemeRow { const char16_t* name; const char* colours; };
const ThemeRow kThinThemes[] = {
    {u"White", "255,255,255 68,68,68 0,0,0 119,119,119 176,176,176 255,165,0"},
    {u"Light Gray", "240,238,228 0,0,0 0,0,0 176,176,176 176,176,176 255,165,0"},
    {u"Black", "51,51,51 176,176,176 255,255,255 176,176,176 213,235,107 255,165,0"},
    {u"Ivory", "236,233,216 0,0,0 0,0,0 168,162,128 168,162,128 255,165,0"},
    {u"Sky Blue", "255,255,255 87,133,255 0,0,0 87,133,255 87,133,255 255,165,0"},
    {u"Pink", "255,255,255 255,93,162 0,0,0 255,93,162 255,93,162 255,165,0"},
    {u"Green", "255,255,255 143,175,17 0,51,0 143,175,17 143,175,17 255,165,0"},
    {u"Green2", "213,235,107 0,0,0 0,0,0 0,0,0 0,0,0 255,165,0"},
    {u"Yellow", "255,255,255 224,206,0 0,0,0 224,206,0 224,206,0 255,165,0"},
    {u"Orange", "255,255,255 221,135,2 0,0,0 221,135,2 221,135,2 255,165,0"},
    {u"Khaki", "62,92,0 146,185,65 255,255,255 221,135,2 221,135,2 255,165,0"},
    {u"Indigo", "75,0,130 192,125,255 255,255,255 192,125,255 192,125,255 255,165,0"},
    {u"Salmon Red", "255,48,92 255,189,203 255,255,255 255,189,203 255,189,203 255,165,0"},
};
// clang-format on

// "r,g,b r,g,b ..." as platform colours.
std::vector<Colour> parseColours(const char* text) {
  std::vector<Colour> colours;
  std::istringstream in(text);
  int red, green, blue;
  char comma;
  while (in >> red >> comma >> green >> comma >> blue) colours.push_back(rgb(red, green, blue));
  return colours;
}

template <class Drawer, class Kind>
const Drawer& as(Kind* drawer) {
  const auto* concrete = dynamic_cast<const Drawer*>(drawer);
  EXPECT_NE(concrete, nullptr);
  return *concrete;
}

// One colour a built skin must give back: what reads it, and which theme colour it is
// (a 1-based theme column, or 0 for a constant).
struct Assignment {
  const char* what;
  std::function<Colour(const ISkin&)> read;
  int column;
  Colour constant = 0;
};

const std::vector<Assignment>& windowFamilyAssignments() {
  namespace b = button::win;
  static const std::vector<Assignment> list = {
      {"window frame", [](const ISkin& s) { return s.getWindowDrawer()->getFrameColour(); }, 2},
      {"window background", [](const ISkin& s) { return s.getWindowDrawer()->getBackgroundColour(); }, 1},
      {"button frame", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getFrameColour(); }, 4},
      {"button face", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getFaceColour(); }, 3},
      {"button hot frame", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getHotFrameColour(); }, 4},
      {"button pressed face", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getPressedFaceColour(); }, 9},
      {"button text", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getTextColour(); }, 6},
      {"button hot face", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getHotFaceColour(); }, 3},
      {"button pressed text", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getPressedTextColour(); }, 10},
      {"text normal", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getNormalColour(); }, 6},
      {"text inverse", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getInverseColour(); }, 1},
      {"text disabled", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getDisabledColour(); }, 7},
      {"text selection background", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getSelectionBackground(); }, 3},
      {"text selection text", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getSelectionText(); }, 6},
      {"text frame", [](const ISkin& s) { return s.getTextDrawer()->getFrameColour(); }, 4},
      {"scroll bar thumb", [](const ISkin& s) { return as<scrollbar::win::Thin>(s.getScrollBarDrawer()).getThumbColour(); }, 4},
      {"scroll bar track", [](const ISkin& s) { return as<scrollbar::win::Thin>(s.getScrollBarDrawer()).getTrackColour(); }, 8},
      {"check box frame", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getFrameColour(); }, 4},
      {"check box text", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getTextColour(); }, 6},
      {"check box mark", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getMarkColour(); }, 3},
      {"radio frame", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getFrameColour(); }, 4},
      {"radio text", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getTextColour(); }, 6},
      {"radio mark", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getMarkColour(); }, 3},
      {"slider frame", [](const ISkin& s) { return as<slider::win::Thin>(s.getSliderDrawer()).getFrameColour(); }, 4},
      {"slider track", [](const ISkin& s) { return as<slider::win::Thin>(s.getSliderDrawer()).getTrackColour(); }, 8},
      {"slider thumb", [](const ISkin& s) { return as<slider::win::Thin>(s.getSliderDrawer()).getThumbColour(); }, 3},
      {"counter digits", [](const ISkin& s) { return as<counter::win::Basic>(s.getCounterDrawer()).getDigitColour(); }, 14},
      {"counter background", [](const ISkin& s) { return as<counter::win::Basic>(s.getCounterDrawer()).getBackgroundColour(); }, 15},
      {"list header frame", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getFrameColour(); }, 4},
      {"list header background", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getBackgroundColour(); }, 9},
      {"list header text", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getTextColour(); }, 10},
      {"list background", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getBackgroundColour(); }, 11},
      {"list text", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getTextColour(); }, 12},
      {"list selection background", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getSelectionBackground(); }, 9},
      {"list selection text", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getSelectionText(); }, 10},
      {"list alternate rows", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getAlternateBackground(); }, 13},
      {"status bar line", [](const ISkin& s) { return as<statusbar::win::Thin>(s.getStatusBarDrawer()).getLineColour(); }, 4},
      {"menu text", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getTextColour(); }, 6},
      {"menu frame", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getFrameColour(); }, 4},
      {"menu background", [](const ISkin& s) { return s.getMenuDrawer()->getBackgroundColour(); }, 1},
      {"menu hot text", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getHotTextColour(); }, 6},
      {"menu hot frame", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getHotFrameColour(); }, 4},
      {"menu check", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getCheckColour(); }, 6},
      {"combo text", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getTextColour(); }, 6},
      {"combo frame", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getFrameColour(); }, 4},
      {"combo entries", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getItemTextColour(); }, 6},
      {"group box frame", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getFrameColour(); }, 5},
      {"group box title", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getTitleColour(); }, 6},
      {"group box disabled title", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getDisabledTitleColour(); }, 6},
      {"tab box frame", [](const ISkin& s) { return as<tabbox::win::Thin>(s.getTabBoxDrawer()).getFrameColour(); }, 4},
      {"tab text", [](const ISkin& s) { return as<tabbox::win::Thin>(s.getTabBoxDrawer()).getTextColour(); }, 6},
      {"tab chosen text", [](const ISkin& s) { return as<tabbox::win::Thin>(s.getTabBoxDrawer()).getSelectedTextColour(); }, 6},
      {"tab disabled text", [](const ISkin& s) { return as<tabbox::win::Thin>(s.getTabBoxDrawer()).getDisabledTextColour(); }, 6},
  };
  return list;
}

// The 6-colour family: columns 1 background, 2 frame, 3 text, 4 … 6 the rest.
const std::vector<Assignment>& thinFamilyAssignments() {
  namespace b = button::win;
  static const std::vector<Assignment> list = {
      {"window frame", [](const ISkin& s) { return s.getWindowDrawer()->getFrameColour(); }, 2},
      {"window background", [](const ISkin& s) { return s.getWindowDrawer()->getBackgroundColour(); }, 1},
      {"button frame", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getFrameColour(); }, 2},
      {"button text", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getTextColour(); }, 3},
      {"button pressed text", [](const ISkin& s) { return as<b::Thin>(s.getButtonDrawer()).getPressedTextColour(); }, 3},
      {"text normal", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getNormalColour(); }, 3},
      {"text inverse", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getInverseColour(); }, 3},
      {"text disabled", [](const ISkin& s) { return as<text::win::Basic>(s.getTextDrawer()).getDisabledColour(); }, 3},
      {"scroll bar thumb", [](const ISkin& s) { return as<scrollbar::win::Thin>(s.getScrollBarDrawer()).getThumbColour(); }, 2},
      {"scroll bar track", [](const ISkin& s) { return as<scrollbar::win::Thin>(s.getScrollBarDrawer()).getTrackColour(); }, 1},
      {"check box frame", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getFrameColour(); }, 2},
      {"check box text", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getTextColour(); }, 3},
      {"check box mark", [](const ISkin& s) { return as<checkbox::win::Thin>(s.getCheckBoxDrawer()).getMarkColour(); }, 3},
      {"radio frame", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getFrameColour(); }, 2},
      {"radio text", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getTextColour(); }, 3},
      {"radio mark", [](const ISkin& s) { return as<radiobutton::win::Thin>(s.getRadioButtonDrawer()).getMarkColour(); }, 3},
      {"slider frame", [](const ISkin& s) { return as<slider::win::Thin>(s.getSliderDrawer()).getFrameColour(); }, 2},
      {"slider track", [](const ISkin& s) { return as<slider::win::Thin>(s.getSliderDrawer()).getTrackColour(); }, 4},
      {"counter digits", [](const ISkin& s) { return as<counter::win::Basic>(s.getCounterDrawer()).getDigitColour(); }, 5},
      {"counter background", [](const ISkin& s) { return as<counter::win::Basic>(s.getCounterDrawer()).getBackgroundColour(); }, 6},
      {"list header frame", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getFrameColour(); }, 2},
      {"list header background", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getBackgroundColour(); }, 1},
      {"list header text", [](const ISkin& s) { return as<listheader::win::Thin>(s.getListHeaderDrawer()).getTextColour(); }, 3},
      {"list background", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getBackgroundColour(); }, 1},
      {"list text", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getTextColour(); }, 3},
      {"list selection background", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getSelectionBackground(); }, 2},
      {"list selection text", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getSelectionText(); }, 1},
      {"list alternate rows", [](const ISkin& s) { return as<listbox::win::Thin>(s.getListBoxDrawer()).getAlternateBackground(); }, 0, rgb(243, 243, 243)},
      {"status bar line", [](const ISkin& s) { return as<statusbar::win::Thin>(s.getStatusBarDrawer()).getLineColour(); }, 2},
      {"menu text", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getTextColour(); }, 3},
      {"menu frame", [](const ISkin& s) { return as<menu::win::Basic>(s.getMenuDrawer()).getFrameColour(); }, 2},
      {"menu background", [](const ISkin& s) { return s.getMenuDrawer()->getBackgroundColour(); }, 1},
      {"combo text", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getTextColour(); }, 3},
      {"combo frame", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getFrameColour(); }, 2},
      {"combo entries", [](const ISkin& s) { return as<combo::win::Thin>(s.getComboDrawer()).getItemTextColour(); }, 3},
      {"group box frame", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getFrameColour(); }, 2},
      {"group box title", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getTitleColour(); }, 3},
      {"group box disabled title", [](const ISkin& s) { return as<groupbox::win::Thin>(s.getGroupBoxDrawer()).getDisabledTitleColour(); }, 3},
      {"tab box frame", [](const ISkin& s) { return as<tabbox::win::Thin>(s.getTabBoxDrawer()).getFrameColour(); }, 2},
  };
  return list;
}

void checkSkin(const ISkin& skin, const std::vector<Colour>& theme, const std::vector<Assignment>& assignments) {
  for (const Assignment& assignment : assignments) {
    const Colour expected = assignment.column > 0 ? theme.at(static_cast<size_t>(assignment.column - 1)) : assignment.constant;
    EXPECT_EQ(assignment.read(skin), expected) << assignment.what;
  }
}

TEST(ThemeTable, ThinWindowSkinsCarryEveryThemeColour) {
  thread::Owned<Skinner> skinner(Skinner::newSkinner(Skinner::kFamilyThinWindow));
  ASSERT_EQ(skinner->getSkinCount(), 16);
  for (const WindowThemeRow& row : kWindowThemes) {
    SCOPED_TRACE(std::string(row.colours));
    int index = -1;
    ASSERT_TRUE(skinner->findSkin(row.name, &index));
    const ISkin& skin = *skinner->getSkin(index);
    const std::vector<Colour> theme = parseColours(row.colours);
    ASSERT_EQ(theme.size(), 15u);
    checkSkin(skin, theme, windowFamilyAssignments());
    const auto& window = as<window::win::Thin>(skin.getWindowDrawer());
    EXPECT_EQ(window.getTopCornerStyle(), 0);
    EXPECT_EQ(window.getBottomCornerStyle(), 0);
    EXPECT_FALSE(window.isTransparent());
    // Built by number as well, the theme has the same name and colours.
    thread::Owned<skin::ThinWindow> byId(skin::ThinWindow::newThinWindowSkin(row.id));
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId->getSkinName(), row.name);
    checkSkin(*byId, theme, windowFamilyAssignments());
  }
}

TEST(ThemeTable, ThinSkinsCarryEveryThemeColour) {
  thread::Owned<Skinner> skinner(Skinner::newSkinner(Skinner::kFamilyThin));
  ASSERT_EQ(skinner->getSkinCount(), 13);
  for (int i = 0; i < 13; ++i) {
    const ThemeRow& row = kThinThemes[i];
    SCOPED_TRACE(std::string(row.colours));
    EXPECT_EQ(skinner->getSkinName(i), row.name);  // in this order
    const std::vector<Colour> theme = parseColours(row.colours);
    ASSERT_EQ(theme.size(), 6u);
    checkSkin(*skinner->getSkin(i), theme, thinFamilyAssignments());
  }
}

}  // namespace
}  // namespace s::gui::drawer
