#pragma once
// Plain rectangles and sizes of the toolkit, in pixels. Positions are relative to a
// parent's content area unless a caller says otherwise.

namespace s::gui {

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
  bool isEmpty() const { return width <= 0 || height <= 0; }
};

}  // namespace s::gui
