#pragma once
// A surface the drawers paint on: a device context on Windows (GdiCanvas), a pixel
// buffer in memory (MemoryCanvas). Coordinates are pixels from the surface's top left.
#include <string_view>

#include "s/gui/Geometry.h"
#include "s/gui/drawer/Colour.h"

namespace s::gui::drawer {

class ICanvas {
 public:
  enum TextAlign : unsigned { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

  virtual ~ICanvas() = default;
  // Fills area (clipped to the surface); kNoColour fills nothing.
  virtual void fillRect(const Rect& area, Colour colour) = 0;
  // One line of text inside area, vertically centred, aligned by align (kAlign*),
  // without a background.
  virtual void drawText(const Rect& area, std::u16string_view text, Colour colour, unsigned align) = 0;
  // The extent of one line of text; the height is the line height, also for "".
  virtual Size measureText(std::u16string_view text) = 0;

  void setPixel(int x, int y, Colour colour) { fillRect({x, y, 1, 1}, colour); }
  // A one-pixel frame along the inside of area.
  void frameRect(const Rect& area, Colour colour);
  // Every other pixel of a one-pixel frame inside area (a focus mark).
  void dottedFrame(const Rect& area, Colour colour);
  // A filled disc inscribed in the square area.
  void fillDisc(const Rect& area, Colour colour);
};

}  // namespace s::gui::drawer
