#pragma once
// Places the rows of a stored picture into a 32-bit raster (blue, green, red,
// alpha) so that the raster holds the picture upright, as an Exif or TIFF
// orientation says.
//
// The raster must already have the upright size: stored width x height, or height
// x width when the orientation transposes. Stored row y (0 = the first row of the
// file) goes where ExifOrientation::Layout sends it; with a transpose it becomes a
// column. Rows may come in any order; each is placed once.
#include <cstdint>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/jpg/ExifOrientation.h"

namespace s::image::util {

class UprightRows {
 public:
  using Layout = jpg::ExifOrientation::Layout;

  UprightRows(bmp::win::Bitmap& raster, int storedWidth, int storedHeight, Layout layout);

  // The upright size for a stored size and a layout.
  static int uprightWidth(int storedWidth, int storedHeight, Layout layout) {
    return layout.transpose ? storedHeight : storedWidth;
  }
  static int uprightHeight(int storedWidth, int storedHeight, Layout layout) {
    return layout.transpose ? storedWidth : storedHeight;
  }

  // Stored row y (storedWidth pixels of 4 bytes, blue, green, red, alpha). Rows
  // outside 0 .. storedHeight - 1 are ignored.
  void put(int y, const uint8_t* bgra) { put(y, 0, storedWidth_, bgra); }
  // count pixels of stored row y from pixel x (a tile's part of the row); the part
  // outside the stored picture is ignored.
  void put(int y, int x, int count, const uint8_t* bgra);
  // Where pixel x of stored row y goes when the layout keeps rows whole and in
  // their order of pixels (no mirror, no transpose): a caller may write the row's
  // pixels there itself, skipping a copy. None for other layouts or outside the
  // picture.
  uint8_t* directTarget(int y, int x);

 private:
  bmp::win::Bitmap& raster_;
  int storedWidth_;
  int storedHeight_;
  Layout layout_;
};

}  // namespace s::image::util
