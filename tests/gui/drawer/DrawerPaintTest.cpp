// The drawers' pixels on a memory canvas: the window drawer exactly as its corner
// styles define, and the others where their colours must show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/gui/drawer/MemoryCanvas.h"
#include "s/gui/drawer/button/win/Thin.h"
#include "s/gui/drawer/checkbox/win/Thin.h"
#include "s/gui/drawer/groupbox/win/Thin.h"
#include "s/gui/drawer/listbox/win/Thin.h"
#include "s/gui/drawer/scrollbar/win/Thin.h"
#include "s/gui/drawer/window/win/Thin.h"
#include "s/thread/Owned.h"

namespace s::gui::drawer {
namespace {

using thread::Owned;

constexpr Colour kFrame = rgb(17, 17, 17);
constexpr Colour kBackground = rgb(116, 116, 116);
constexpr Colour kUntouched = rgb(1, 2, 3);

// The canvas as rows of '#' (frame), '.' (background) and ' ' (untouched).
std::vector<std::string> picture(const MemoryCanvas& canvas) {
  std::vector<std::string> rows;
  for (int y = 0; y < canvas.getHeight(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.getWidth(); ++x) {
      const Colour c = canvas.pixel(x, y);
      row += c == kFrame ? '#' : c == kBackground ? '.' : c == kUntouched ? ' ' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> paintWindow(int top, int bottom, bool transparent) {
  Owned<window::win::Thin> drawer(window::win::Thin::create());
  drawer->setFrameColour({17, 17, 17});
  if (!transparent) drawer->setBackgroundColour({116, 116, 116});
  drawer->setTopCornerStyle(top);
  drawer->setBottomCornerStyle(bottom);
  MemoryCanvas canvas(14, 14, kUntouched);
  drawer->paint(canvas, {0, 0, 14, 14});
  return picture(canvas);
}

TEST(WindowDrawer, CornerStylesCutTheCorners) {
  const std::vector<std::string> square = {
      "##############", "#............#", "#............#", "#............#", "#............#",
      "#............#", "#............#", "#............#", "#............#", "#............#",
      "#............#", "#............#", "#............#", "##############"};
  EXPECT_EQ(paintWindow(0, 0, false), square);

  const std::vector<std::string> small = {
      "##############", "##..........##", "#............#", "#............#", "#............#",
      "#............#", "#............#", "#............#", "#............#", "#............#",
      "#............#", "#............#", "##..........##", "##############"};
  EXPECT_EQ(paintWindow(1, 1, false), small);

  // Large at the top, square at the bottom: rows 1 … 5 cut 5, 3, 2, 2, 1 pixels.
  const std::vector<std::string> large = {
      "##############", "#####....#####", "###........###", "##..........##", "##..........##",
      "#............#", "#............#", "#............#", "#............#", "#............#",
      "#............#", "#............#", "#............#", "##############"};
  EXPECT_EQ(paintWindow(2, 0, false), large);

  // The same at the bottom, mirrored, on a transparent window: only the frame is painted.
  const std::vector<std::string> bottom = {
      "##############", "#            #", "#            #", "#            #", "#            #",
      "#            #", "#            #", "#            #", "#            #", "##          ##",
      "##          ##", "###        ###", "#####    #####", "##############"};
  EXPECT_EQ(paintWindow(0, 2, true), bottom);
}

TEST(WindowDrawer, EmptyAreaPaintsNothingAndShapesFollowTheStyles) {
  Owned<window::win::Thin> drawer(window::win::Thin::create());
  drawer->setBackgroundColour({116, 116, 116});
  MemoryCanvas canvas(4, 4, kUntouched);
  drawer->paint(canvas, {0, 0, 0, 4});
  EXPECT_EQ(canvas.pixel(1, 1), kUntouched);

  EXPECT_TRUE(drawer->getShape().isRectangle());
  drawer->setTopCornerStyle(window::win::Thin::kSmallRounding);
  drawer->setBottomCornerStyle(window::win::Thin::kLargeRounding);
  EXPECT_EQ(drawer->getShape().topEllipse, 5);
  EXPECT_EQ(drawer->getShape().bottomEllipse, 11);
  drawer->reset();
  EXPECT_TRUE(drawer->isTransparent());
}

TEST(Drawers, StatesShowInTheirColours) {
  Owned<button::win::Thin> button(button::win::Thin::create());
  button->setFrameColour({17, 17, 17});
  button->setFaceColour({86, 86, 86});
  button->setPressedFaceColour({25, 25, 25});
  button->setTextColour({255, 255, 255});
  button->setPressedTextColour({0, 0, 0});
  PaintState state;
  MemoryCanvas normal(30, 20);
  button->paint(normal, {0, 0, 30, 20}, u"OK", state);
  EXPECT_EQ(normal.pixel(0, 0), kFrame);
  EXPECT_EQ(normal.pixel(15, 3), rgb(86, 86, 86));
  EXPECT_EQ(normal.getTextCalls().at(0).colour, rgb(255, 255, 255));
  state.pressed = true;
  MemoryCanvas pressed(30, 20);
  button->paint(pressed, {0, 0, 30, 20}, u"OK", state);
  EXPECT_EQ(pressed.pixel(15, 3), rgb(25, 25, 25));
  EXPECT_EQ(pressed.getTextCalls().at(0).colour, rgb(0, 0, 0));
  // Without a face the button shows what lies behind it.
  button->reset();
  PaintState behind;
  behind.background = rgb(200, 100, 50);
  MemoryCanvas flat(30, 20);
  button->paint(flat, {0, 0, 30, 20}, u"OK", behind);
  EXPECT_EQ(flat.pixel(15, 3), rgb(200, 100, 50));

  Owned<checkbox::win::Thin> check(checkbox::win::Thin::create());
  check->setColours({17, 17, 17}, {255, 255, 255});
  check->setMarkColour({86, 86, 86});
  PaintState checked;
  checked.checked = true;
  checked.background = kBackground;
  MemoryCanvas box(60, 15);
  check->paint(box, {0, 0, 60, 15}, u"Keep", checked);
  EXPECT_EQ(box.pixel(0, 7), kFrame);             // the box's frame
  EXPECT_EQ(box.pixel(7, 7), rgb(86, 86, 86));    // the mark
  EXPECT_EQ(box.pixel(3, 7), rgb(255, 255, 255)); // the mark's outline
  EXPECT_EQ(box.getTextCalls().at(0).area.x, 15 + 15 / 6);
  checked.checked = false;
  MemoryCanvas empty(60, 15);
  check->paint(empty, {0, 0, 60, 15}, u"Keep", checked);
  EXPECT_EQ(empty.pixel(7, 7), kBackground);

  // A group box's own frame colour wins over the drawer's; its title interrupts the
  // top line.
  Owned<groupbox::win::Thin> group(groupbox::win::Thin::create());
  group->setFrameColour({17, 17, 17});
  MemoryCanvas framed(80, 40);
  PaintState plain;
  plain.background = kBackground;
  group->paint(framed, {0, 0, 80, 40}, u"Title", 15, rgb(145, 155, 156), plain);
  EXPECT_EQ(framed.pixel(0, 20), rgb(145, 155, 156));
  EXPECT_EQ(framed.pixel(2, 7), rgb(145, 155, 156));
  EXPECT_EQ(framed.pixel(12, 7), kBackground);
  EXPECT_EQ(framed.pixel(20, 39), rgb(145, 155, 156));

  Owned<listbox::win::Thin> list(listbox::win::Thin::create());
  list->setColours({255, 255, 255}, {0, 0, 0}, {25, 25, 25}, {255, 255, 255}, {238, 238, 238});
  MemoryCanvas rows(40, 30);
  list->paintItem(rows, {0, 0, 40, 10}, u"a", 0, {});
  list->paintItem(rows, {0, 10, 40, 10}, u"b", 1, {});
  PaintState selected;
  selected.selected = true;
  list->paintItem(rows, {0, 20, 40, 10}, u"c", 2, selected);
  EXPECT_EQ(rows.pixel(1, 5), rgb(255, 255, 255));
  EXPECT_EQ(rows.pixel(1, 15), rgb(238, 238, 238));
  EXPECT_EQ(rows.pixel(1, 25), rgb(25, 25, 25));

  // A thumb for a page of 25 of 100 at position 75 fills the last quarter.
  Owned<scrollbar::win::Thin> bar(scrollbar::win::Thin::create());
  bar->setColours({17, 17, 17}, {116, 116, 116});
  MemoryCanvas track(100, 10);
  bar->paint(track, {0, 0, 100, 10}, false, 75, 25, 100);
  EXPECT_EQ(track.pixel(74, 5), kBackground);
  EXPECT_EQ(track.pixel(75, 5), kFrame);
  EXPECT_EQ(track.pixel(99, 5), kFrame);
}

}  // namespace
}  // namespace s::gui::drawer
