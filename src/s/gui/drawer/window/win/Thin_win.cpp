#include <windows.h>

#include "s/base/win/Scoped_win.h"
#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::window::win {

namespace {

// The half [top, bottom) of a width × height window: of a rounded rectangle with corner
// ellipse when ellipse > 0, else of the plain rectangle.
HRGN halfRegion(int width, int height, int top, int bottom, int ellipse) {
  HRGN half = CreateRectRgn(0, top, width, bottom);
  if (ellipse > 0) {
    const base::win::GdiObject<HRGN> rounded(CreateRoundRectRgn(0, 0, width + 1, height + 1, ellipse, ellipse));
    CombineRgn(half, half, rounded.get(), RGN_AND);
  }
  return half;
}

}  // namespace

void* Thin::createRegion(int width, int height) const {
  const Shape shape = getShape();
  if (shape.isRectangle()) return CreateRectRgn(0, 0, width, height);
  HRGN region = halfRegion(width, height, 0, height / 2, shape.topEllipse);
  const base::win::GdiObject<HRGN> lower(halfRegion(width, height, height / 2, height, shape.bottomEllipse));
  CombineRgn(region, region, lower.get(), RGN_OR);
  return region;
}

}  // namespace s::gui::drawer::window::win
