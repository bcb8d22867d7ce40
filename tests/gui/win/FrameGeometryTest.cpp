// The arithmetic of a top-level window's frame: skinned edge zones, sizing limits,
// keeping inside an area, visible placements and centring.
#include "s/gui/win/FrameGeometry.h"

#include <gtest/gtest.h>

#include "gui/GuiTestSupport.h"

namespace s::gui::win {
namespace {

TEST(FrameGeometry, SkinnedEdgeZonesOfA300By200Window) {
  struct Case {
    int x, y;
    Edge edge;
  };
  const Case cases[] = {
      {298, 10, kTopRight},    {298, 100, kRight},     {298, 185, kBottomRight}, {296, 100, kRight},     {295, 100, kNoEdge},
      {1, 10, kTopLeft},       {4, 100, kLeft},        {0, 170, kLeft},          {0, 171, kBottomLeft},
      {5, 100, kNoEdge},       {100, 2, kTop},         {100, 4, kTop},           {100, 5, kNoEdge},
      {29, 0, kTopLeft},       {30, 0, kTop},          {270, 0, kTop},           {271, 0, kTopRight},
      {100, 196, kBottom},     {100, 195, kNoEdge},    {20, 199, kBottomLeft},   {280, 199, kBottomRight},
      {150, 100, kNoEdge},
  };
  for (const Case& c : cases) EXPECT_EQ(skinnedEdgeAt(c.x, c.y, 300, 200), c.edge) << c.x << ", " << c.y;
}

TEST(FrameGeometry, PlatformEdgesMapBothWays) {
  // The platform's left, right, top, top-left, top-right, bottom, bottom-left, bottom-right.
  const int own[] = {kLeft, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight};
  for (int platform = 1; platform <= 8; ++platform) {
    EXPECT_EQ(edgeFromPlatform(platform), own[platform - 1]);
    EXPECT_EQ(edgeToPlatform(own[platform - 1]), platform);
  }
  EXPECT_EQ(edgeFromPlatform(0), kNoEdge);
  EXPECT_EQ(edgeFromPlatform(9), kNoEdge);
}

TEST(FrameGeometry, SizingIsHeldToTheWorkAreaAndTheMinimumByTheDraggedSide) {
  struct Case {
    SizingRecord proposed;
    SizingRecord expected;
  };
  // Work area 700 high; minimum 200 × 150.
  const Case cases[] = {
      {{kBottom, 0, 0, 300, 900}, {kBottom, 0, 0, 300, 700}},         // too high: the bottom gives way
      {{kTop, 0, -100, 300, 800}, {kTop, 0, 100, 300, 800}},          // the top gives way
      {{kBottomRight, 0, 0, 100, 100}, {kBottomRight, 0, 0, 200, 150}},  // too small: right and bottom grow
      {{kTopLeft, 50, 50, 100, 100}, {kTopLeft, -100, -50, 100, 100}},   // left and top grow
      {{kBottomLeft, 50, 0, 100, 100}, {kBottomLeft, -100, 0, 100, 150}},
      {{kTopRight, 0, 50, 100, 100}, {kTopRight, 0, -50, 200, 100}},
      {{kRight, 0, 0, 400, 300}, {kRight, 0, 0, 400, 300}},  // fine as it is
  };
  for (const Case& c : cases) {
    SizingRecord record = c.proposed;
    fitToWorkAreaHeight(record, 700);
    enforceMinimumSize(record, 200, 150);
    EXPECT_EQ(record, c.expected) << "edge " << c.proposed.edge;
  }
}

TEST(FrameGeometry, ASkinnedResizeFollowsTheMouseAndStopsAtTheMinimum) {
  const Rect start{100, 100, 300, 200};
  EXPECT_EQ(resizedFrom(start, kRight, 50, 30, 100, 100), (Rect{100, 100, 350, 200}));
  EXPECT_EQ(resizedFrom(start, kTopLeft, -20, -10, 100, 100), (Rect{80, 90, 320, 210}));
  EXPECT_EQ(resizedFrom(start, kBottom, 40, 25, 100, 100), (Rect{100, 100, 300, 225}));
  // Dragged past the minimum: the dragged side stops there, the other stays.
  EXPECT_EQ(resizedFrom(start, kLeft, 250, 0, 100, 100), (Rect{300, 100, 100, 200}));
  EXPECT_EQ(resizedFrom(start, kBottomRight, -500, -500, 100, 100), (Rect{100, 100, 100, 100}));
}

TEST(FrameGeometry, KeptInsideMovesTheWindowBackRightAndBottomFirst) {
  const Rect area{0, 0, 1000, 700};
  EXPECT_EQ(keptInside({100, 100, 300, 200}, area), (Rect{100, 100, 300, 200}));
  EXPECT_EQ(keptInside({900, 600, 300, 200}, area), (Rect{700, 500, 300, 200}));
  EXPECT_EQ(keptInside({-50, -20, 300, 200}, area), (Rect{0, 0, 300, 200}));
  // Larger than the area: the top left corner stays inside.
  EXPECT_EQ(keptInside({500, 100, 1200, 200}, area), (Rect{0, 100, 1200, 200}));
  EXPECT_EQ(keptInside({10, 10, 300, 200}, {-1280, 0, 2280, 700}), (Rect{10, 10, 300, 200}));
}

TEST(FrameGeometry, VisiblePlacementsAndCentring) {
  const Rect screen{0, 0, 1024, 768};
  struct Case {
    Rect placement;
    bool visible;
  };
  const Case cases[] = {
      {{100, 100, 300, 200}, true},   {{1014, 100, 300, 200}, true},  {{1015, 100, 300, 200}, false},
      {{-290, 100, 300, 200}, true},  {{-291, 100, 300, 200}, false}, {{100, 758, 300, 200}, true},
      {{100, 759, 300, 200}, false},  {{100, -190, 300, 200}, true},  {{100, -191, 300, 200}, false},
      {{100, 100, 10, 200}, false},   {{100, 100, 300, 10}, false},   {{100, 100, 11, 11}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isPlacementVisible(c.placement, screen), c.visible) << c.placement.x << ", " << c.placement.y;
  }
  EXPECT_EQ(centredIn({301, 201}, {0, 0, 1024, 728}), (Rect{361, 263, 301, 201}));
  EXPECT_EQ(centredIn({300, 200}, {100, 50, 900, 700}), (Rect{400, 300, 300, 200}));
  // Larger than the work area: its top left corner.
  EXPECT_EQ(centredIn({2000, 900}, {0, 0, 1024, 728}), (Rect{0, 0, 2000, 900}));
}

}  // namespace
}  // namespace s::gui::win
