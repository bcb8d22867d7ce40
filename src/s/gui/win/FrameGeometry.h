#pragma once
// The arithmetic of a top-level window's frame, apart from any window: which edge of a
// skinned frame a point is on, how a rectangle being resized is held to the screen and
// to the window's minimum size, how a moving window is kept inside an area, and where
// a window is placed when it is shown. Rectangles here are outer window rectangles in
// screen coordinates.
#include "s/gui/Geometry.h"

namespace s::gui::win {

// The window's own edge numbers (also those of the sizing record).
enum Edge { kNoEdge = 0, kLeft = 1, kRight = 2, kTop = 3, kBottom = 4, kTopLeft = 5, kTopRight = 6, kBottomLeft = 7,
            kBottomRight = 8 };

// A rectangle given by its sides, as the platform proposes one while the user drags an
// edge: the edge being dragged and the proposed sides.
struct SizingRecord {
  int edge = kNoEdge;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const SizingRecord&, const SizingRecord&) = default;
};

// The edge zone of a skinned frame under (x, y), relative to the top left of a
// width × height window: within 5 pixels of the right, left or bottom side, or 4 of
// the top; a corner when the other coordinate is within 30 pixels of its end.
Edge skinnedEdgeAt(int x, int y, int width, int height);

// The platform's sizing edges (1–8: left, right, top, top-left, top-right, bottom,
// bottom-left, bottom-right) as the window's own edge numbers, and back.
int edgeFromPlatform(int platformEdge);
int edgeToPlatform(int edge);

// Whether an edge moves the left (top, ...) side of the rectangle.
bool movesLeft(int edge);
bool movesTop(int edge);

// A height larger than the work area's is cut to it, by moving the bottom when the
// bottom edge is dragged and the top otherwise.
void fitToWorkAreaHeight(SizingRecord& record, int workAreaHeight);
// Widens (heightens) the rectangle to the minimum, moving the side being dragged.
void enforceMinimumSize(SizingRecord& record, int minWidth, int minHeight);

// The rectangle a skinned resize gives: start dragged at edge by (dx, dy), no smaller
// than minWidth × minHeight (the dragged sides give way).
Rect resizedFrom(const Rect& start, int edge, int dx, int dy, int minWidth, int minHeight);

// A proposed rectangle kept inside area by moving it: corrected to the right and
// bottom first, then to the left and top (so a window larger than the area keeps its
// top left corner in it). A resize that would cross the right or bottom side moves
// the window instead.
Rect keptInside(const Rect& proposed, const Rect& area);

// Whether a placement can be seen on a virtual screen: larger than 10 × 10 and at
// least 10 pixels of it on the screen on each axis.
bool isPlacementVisible(const Rect& placement, const Rect& virtualScreen);

// A window of size centred in the work area (integer halves), never left of or above it.
Rect centredIn(const Size& size, const Rect& workArea);

}  // namespace s::gui::win
