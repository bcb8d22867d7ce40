#pragma once
// The order in which a GIF frame's rows arrive in its pixel stream: top to bottom, or
// for an interlaced frame the four passes rows 0, 8, 16, ...; 4, 12, ...; 2, 6, 10, ...;
// 1, 3, 5, ... A pass whose first row is not inside the frame is skipped.
//
//   for (GifRowOrder order(height, interlaced); !order.done(); order.advance())
//     handle(order.row());

namespace s::image::gif::win {

class GifRowOrder {
 public:
  GifRowOrder(int height, bool interlaced);

  bool done() const { return row_ < 0; }
  // The frame row (0 = top) that the next stream row goes to; -1 when done.
  int row() const { return row_; }
  void advance();

  // The frame row of stream row `index` (0-based); -1 when index is outside the frame.
  static int rowAt(int index, int height, bool interlaced);

 private:
  int height_;
  bool interlaced_;
  int pass_ = 0;
  int row_;
};

}  // namespace s::image::gif::win
