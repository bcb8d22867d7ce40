// Painting through GDI: the drawers give the same pixels on a device context as on a
// memory canvas, text comes out in its colour, and a real window shows its skin's
// frame, background and text colours where its components are.
#include <gtest/gtest.h>

#include <functional>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/MemoryCanvas.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/radiobutton/win/Thin.h"
#include "s/gui/drawer/window/win/Thin.h"
#include "s/gui/native/win/GdiCanvas.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/TextField.h"

namespace s::gui::testing {
namespace {

using drawer::Colour;
using drawer::rgb;
using thread::Owned;
using namespace win;

// A 32-bit bitmap in a memory device context, filled with one colour.
class MemoryDc {
 public:
  MemoryDc(int width, int height, Colour fill) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    native::win::GdiCanvas(dc_).fillRect({0, 0, width, height}, fill);
  }
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  Colour pixel(int x, int y) const {
    GdiFlush();
    const uint8_t* p = bits_ + 4 * (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
    return rgb(p[2], p[1], p[0]);
  }
  int count(Colour colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += pixel(x, y) == colour ? 1 : 0;
    return n;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint8_t* bits_ = nullptr;
};

// Paints with paint on both canvases and compares every pixel.
void expectSamePixels(int width, int height, const std::function<void(drawer::ICanvas&)>& paint) {
  drawer::MemoryCanvas memory(width, height, rgb(1, 2, 3));
  MemoryDc gdi(width, height, rgb(1, 2, 3));
  paint(memory);
  {
    native::win::GdiCanvas canvas(gdi.dc());
    paint(canvas);
  }
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (memory.pixel(x, y) == gdi.pixel(x, y)) continue;
      if (differing++ == 0) ADD_FAILURE() << "first difference at " << x << ", " << y << ": " << memory.pixel(x, y) << " in memory, " << gdi.pixel(x, y) << " through GDI";
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(GdiPainting, DrawersGiveTheSamePixelsAsInMemory) {
  for (int top = 0; top <= 2; ++top) {
    for (int bottom = 0; bottom <= 2; ++bottom) {
      SCOPED_TRACE(top * 10 + bottom);
      Owned<drawer::window::win::Thin> window(drawer::window::win::Thin::create());
      window->setFrameColour({17, 17, 17});
      window->setBackgroundColour({116, 116, 116});
      window->setTopCornerStyle(top);
      window->setBottomCornerStyle(bottom);
      expectSamePixels(40, 30, [&](drawer::ICanvas& canvas) { window->paint(canvas, {0, 0, 40, 30}); });
    }
  }
  Owned<drawer::radiobutton::win::Thin> radio(drawer::radiobutton::win::Thin::create());
  radio->setColours({17, 17, 17}, {255, 255, 255});
  radio->setMarkColour({86, 86, 86});
  drawer::PaintState chosen;
  chosen.checked = true;
  chosen.background = rgb(116, 116, 116);
  // Without a text (text rasterises differently), and lower than a text line on both
  // canvases, so the mark box has the same size.
  expectSamePixels(20, 10, [&](drawer::ICanvas& canvas) { radio->paint(canvas, {0, 0, 20, 10}, u"", chosen); });
}

TEST(GdiPainting, TextComesOutInItsColourInsideItsArea) {
  MemoryDc gdi(60, 30, rgb(255, 255, 255));
  {
    native::win::GdiCanvas canvas(gdi.dc());
    canvas.drawText({0, 0, 60, 30}, u"WWW", rgb(255, 0, 0), drawer::ICanvas::kAlignCenter);
    EXPECT_GT(canvas.measureText(u"WWW").width, 0);
  }
  EXPECT_GT(gdi.count(rgb(255, 0, 0)), 10);
  for (int x = 0; x < 60; ++x) EXPECT_NE(gdi.pixel(x, 0), rgb(255, 0, 0));
}

// The window's shape: square corners stay, a rounded edge loses its corner pixels and
// only that edge does.
TEST(GdiPainting, WindowShapesRoundOnlyTheStyledEdges) {
  struct Case {
    int top, bottom;
    bool topCorner, bottomCorner;  // whether (0, 0) and (0, h − 1) lie inside
  };
  const Case cases[] = {{0, 0, true, true}, {2, 0, false, true}, {0, 1, true, false}, {1, 2, false, false}};
  for (const Case& c : cases) {
    Owned<drawer::window::win::Thin> window(drawer::window::win::Thin::create());
    window->setTopCornerStyle(c.top);
    window->setBottomCornerStyle(c.bottom);
    HRGN region = static_cast<HRGN>(window->createRegion(100, 60));
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(PtInRegion(region, 0, 0) != FALSE, c.topCorner) << c.top << c.bottom;
    EXPECT_EQ(PtInRegion(region, 0, 59) != FALSE, c.bottomCorner) << c.top << c.bottom;
    EXPECT_TRUE(PtInRegion(region, 50, 30));
    EXPECT_TRUE(PtInRegion(region, 0, 30));
    DeleteObject(region);
  }
}

class SkinnedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.reset(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThinWindow));
    thin.reset(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThin));
    host.reset(HostWindow::create());
    host->setSkin(windows->chooseSkin(nullptr, u"", u"Classic LG"));
    host->setMargins(10);
    host->setVerticalGap(10);
    button = Button::create();
    button->setText(u"Advanced Options >>");
    label = Label::create();
    label->setText(u"Please drop image files here!");
    field = TextField::create();
    field->setText(u"Thumbnail (Tile)");
    field->setFixedWidth(100, false);
    host->add(button);
    host->add(label);
    host->add(field);
    ASSERT_TRUE(host->open(u"Skinned", 300, 200));
    settle();
  }
  void settle() {
    RedrawWindow(hwndOf(*host), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages();
    GdiFlush();
  }
  Rect placeOf(const IComponent& component) { return windowRect(hwndOf(component), hwndOf(*host)); }

  Owned<drawer::Skinner> windows;
  Owned<drawer::Skinner> thin;
  Owned<HostWindow> host;
  Button* button = nullptr;
  Label* label = nullptr;
  TextField* field = nullptr;
};

// "Classic LG": window frame c2 (17), background c1 (116); button frame c4 (17) and
// face c3 (86); text c6 (white); text field frame c4.
TEST_F(SkinnedWindow, ShowsTheThemesColoursAtKnownPoints) {
  Capture shot(hwndOf(*host));
  EXPECT_EQ(shot.pixel(0, 0), rgb(17, 17, 17));
  EXPECT_EQ(shot.pixel(299, 199), rgb(17, 17, 17));
  EXPECT_EQ(shot.pixel(150, 190), rgb(116, 116, 116));

  const Rect b = placeOf(*button);
  EXPECT_EQ(shot.pixel(b.x, b.y + b.height / 2), rgb(17, 17, 17));
  EXPECT_EQ(shot.pixel(b.x + 2, b.y + 2), rgb(86, 86, 86));
  EXPECT_GT(shot.count(b, rgb(255, 255, 255)), 10);  // the caption

  const Rect l = placeOf(*label);
  EXPECT_GT(shot.count(l, rgb(255, 255, 255)), 20);
  EXPECT_EQ(shot.pixel(l.x + l.width - 1, l.y), rgb(116, 116, 116));

  const Rect f = placeOf(*field);
  EXPECT_EQ(shot.pixel(f.x, f.y + f.height / 2), rgb(17, 17, 17));
  EXPECT_GT(shot.count(f, rgb(255, 255, 255)), 10);
}

// Switching to "Sky Blue" of the thin family repaints everything in its colours:
// white background, frames (87, 133, 255), black text.
TEST_F(SkinnedWindow, RepaintsInANewSkin) {
  host->setSkin(thin->chooseSkin(nullptr, u"", u"Sky Blue"));
  settle();
  Capture shot(hwndOf(*host));
  EXPECT_EQ(shot.pixel(0, 0), rgb(87, 133, 255));
  EXPECT_EQ(shot.pixel(150, 190), rgb(255, 255, 255));
  const Rect b = placeOf(*button);
  EXPECT_EQ(shot.pixel(b.x, b.y + b.height / 2), rgb(87, 133, 255));
  EXPECT_EQ(shot.pixel(b.x + 2, b.y + 2), rgb(255, 255, 255));
  EXPECT_GT(shot.count(b, rgb(0, 0, 0)), 10);
  EXPECT_GT(shot.count(placeOf(*label), rgb(0, 0, 0)), 20);
}

}  // namespace
}  // namespace s::gui::testing
