#pragma once
// A view of 32-bit pixels (bytes blue, green, red, alpha; straight alpha) stored
// bottom-up, as the pixel image keeps them: the lowest address holds the bottom row
// of the raster, and the logical picture occupies the top rows and left columns.
// Image operations work on views so that their cores need no image object.
#include <cstddef>
#include <cstdint>

namespace s::image {

struct RasterView {
  uint8_t* bits = nullptr;  // lowest address of the raster
  int width = 0;            // logical size in pixels
  int height = 0;
  int capacityHeight = 0;   // rows in the raster (>= height)
  ptrdiff_t rowBytes = 0;   // distance between rows (4 x capacity width)

  // Row y of the picture, y = 0 being the top row.
  uint8_t* row(int y) const { return bits + static_cast<ptrdiff_t>(capacityHeight - y - 1) * rowBytes; }
  uint8_t* pixel(int x, int y) const { return row(y) + static_cast<ptrdiff_t>(x) * 4; }
  bool empty() const { return bits == nullptr || width <= 0 || height <= 0; }

  // A tightly packed view over caller-owned memory of width x height pixels.
  static RasterView packed(uint8_t* bits, int width, int height) {
    return RasterView{bits, width, height, height, static_cast<ptrdiff_t>(width) * 4};
  }
};

}  // namespace s::image
