#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::window::win {

namespace {

// Pixels painted in the frame colour inside each corner of a largely rounded edge, per
// row counted from the edge (row 1 is the first row inside the frame line).
constexpr int kStaircase[] = {5, 3, 2, 2, 1};

int ellipseOf(int style) {
  if (style == Thin::kSmallRounding) return 5;
  if (style == Thin::kLargeRounding) return 11;
  return 0;
}

// Paints the corner cuts of one edge: row is the first row inside the frame (1 at the
// top, h − 2 at the bottom), step +1 going down from the top, −1 going up.
void paintCorners(ICanvas& canvas, int width, int style, int row, int step, Colour frame) {
  if (style == Thin::kSmallRounding) {
    canvas.fillRect({0, row, 2, 1}, frame);
    canvas.fillRect({width - 2, row, 2, 1}, frame);
  } else if (style == Thin::kLargeRounding) {
    for (int run : kStaircase) {
      canvas.fillRect({0, row, run, 1}, frame);
      canvas.fillRect({width - run, row, run, 1}, frame);
      row += step;
    }
  }
}

}  // namespace

void Thin::setBackgroundColour(Rgb colour) {
  background_ = toColour(colour);
  transparent_ = false;
}

void Thin::paint(ICanvas& canvas, const Rect& area) const {
  const int width = area.width;
  const int height = area.height;
  if (width <= 0 || height <= 0) return;
  if (!transparent_) canvas.fillRect({0, 0, width, height}, background_);
  canvas.frameRect({0, 0, width, height}, frame_);
  paintCorners(canvas, width, topStyle_, 1, 1, frame_);
  paintCorners(canvas, width, bottomStyle_, height - 2, -1, frame_);
}

Thin::Shape Thin::getShape() const { return {ellipseOf(topStyle_), ellipseOf(bottomStyle_)}; }

void Thin::reset() {
  topStyle_ = bottomStyle_ = kSquare;
  transparent_ = true;
  background_ = 0x00FFFFFF;
  frame_ = 0;
}

}  // namespace s::gui::drawer::window::win
