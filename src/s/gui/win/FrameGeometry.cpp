#include "s/gui/win/FrameGeometry.h"

#include <algorithm>

namespace s::gui::win {

namespace {

// Width of the edge zones of a skinned frame, and the length of its corners.
constexpr int kEdge = 5;
constexpr int kTopEdge = 4;
constexpr int kCorner = 30;

// The platform's edges 1–8 in the window's numbering, and the other way round.
constexpr int kFromPlatform[] = {kNoEdge, kLeft, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight};
constexpr int kToPlatform[] = {0, 1, 2, 3, 6, 4, 5, 7, 8};

}  // namespace

Edge skinnedEdgeAt(int x, int y, int width, int height) {
  if (x > width - kEdge) return y < kCorner ? kTopRight : y > height - kCorner ? kBottomRight : kRight;
  if (x < kEdge) return y < kCorner ? kTopLeft : y > height - kCorner ? kBottomLeft : kLeft;
  if (y <= kTopEdge) return x < kCorner ? kTopLeft : x > width - kCorner ? kTopRight : kTop;
  if (y > height - kEdge) return x < kCorner ? kBottomLeft : x > width - kCorner ? kBottomRight : kBottom;
  return kNoEdge;
}

int edgeFromPlatform(int platformEdge) {
  return platformEdge >= 1 && platformEdge <= 8 ? kFromPlatform[platformEdge] : kNoEdge;
}

int edgeToPlatform(int edge) { return edge >= 1 && edge <= 8 ? kToPlatform[edge] : 0; }

bool movesLeft(int edge) { return edge == kLeft || edge == kTopLeft || edge == kBottomLeft; }

bool movesTop(int edge) { return edge == kTop || edge == kTopLeft || edge == kTopRight; }

void fitToWorkAreaHeight(SizingRecord& record, int workAreaHeight) {
  if (record.bottom - record.top <= workAreaHeight) return;
  const bool bottomEdge = record.edge == kBottom || record.edge == kBottomLeft || record.edge == kBottomRight;
  if (bottomEdge) {
    record.bottom = record.top + workAreaHeight;
  } else {
    record.top = record.bottom - workAreaHeight;
  }
}

void enforceMinimumSize(SizingRecord& record, int minWidth, int minHeight) {
  if (record.right - record.left < minWidth) {
    if (movesLeft(record.edge)) {
      record.left = record.right - minWidth;
    } else {
      record.right = record.left + minWidth;
    }
  }
  if (record.bottom - record.top < minHeight) {
    if (movesTop(record.edge)) {
      record.top = record.bottom - minHeight;
    } else {
      record.bottom = record.top + minHeight;
    }
  }
}

Rect resizedFrom(const Rect& start, int edge, int dx, int dy, int minWidth, int minHeight) {
  SizingRecord record{edge, start.x, start.y, start.x + start.width, start.y + start.height};
  const bool right = edge == kRight || edge == kTopRight || edge == kBottomRight;
  const bool bottom = edge == kBottom || edge == kBottomLeft || edge == kBottomRight;
  if (movesLeft(edge)) record.left += dx;
  if (right) record.right += dx;
  if (movesTop(edge)) record.top += dy;
  if (bottom) record.bottom += dy;
  enforceMinimumSize(record, minWidth, minHeight);
  return {record.left, record.top, record.right - record.left, record.bottom - record.top};
}

Rect keptInside(const Rect& proposed, const Rect& area) {
  Rect r = proposed;
  if (r.x + r.width > area.x + area.width) r.x = area.x + area.width - r.width;
  if (r.y + r.height > area.y + area.height) r.y = area.y + area.height - r.height;
  r.x = std::max(r.x, area.x);
  r.y = std::max(r.y, area.y);
  return r;
}

bool isPlacementVisible(const Rect& p, const Rect& screen) {
  const int screenRight = screen.x + screen.width;
  const int screenBottom = screen.y + screen.height;
  return p.width > 10 && p.height > 10 && p.x <= screenRight - 10 && p.x + p.width > screen.x + 9 &&
         p.y <= screenBottom - 10 && p.y + p.height > screen.y + 9;
}

Rect centredIn(const Size& size, const Rect& workArea) {
  const int x = workArea.x + (workArea.width - size.width) / 2;
  const int y = workArea.y + (workArea.height - size.height) / 2;
  return {std::max(x, workArea.x), std::max(y, workArea.y), size.width, size.height};
}

}  // namespace s::gui::win
