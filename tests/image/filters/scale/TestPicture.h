#pragma once
// A picture in caller-owned memory for resampling tests, optionally inside a larger
// raster (wider stride, more rows) so that views behave as in a real image.
#include <cstdint>
#include <cstring>
#include <vector>

#include "s/image/RasterView.h"

namespace pictorva_test {

struct TestPicture {
  std::vector<uint8_t> bytes;
  s::image::RasterView view;

  TestPicture(int width, int height, int extraColumns = 0, int extraRows = 0) {
    const int capacityWidth = width + extraColumns;
    const int capacityHeight = height + extraRows;
    // A margin byte pattern that resampling must neither read into results nor change.
    bytes.assign(static_cast<size_t>(capacityWidth) * capacityHeight * 4 + 64, 0xA5);
    view = s::image::RasterView{bytes.data(), width, height, capacityHeight, static_cast<ptrdiff_t>(capacityWidth) * 4};
  }

  uint8_t* at(int x, int y) { return view.pixel(x, y); }
  void set(int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    uint8_t* p = at(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = a;
  }
  // Gray value v, opaque.
  void setGray(int x, int y, uint8_t v) { set(x, y, v, v, v, 255); }

  // The logical pixels, top row first.
  std::vector<uint8_t> pixels() const {
    std::vector<uint8_t> out;
    for (int y = 0; y < view.height; ++y) {
      const uint8_t* row = view.row(y);
      out.insert(out.end(), row, row + static_cast<size_t>(view.width) * 4);
    }
    return out;
  }
};

}  // namespace pictorva_test
