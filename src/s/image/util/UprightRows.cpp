#include "s/image/util/UprightRows.h"

#include <cstring>

namespace s::image::util {

UprightRows::UprightRows(bmp::win::Bitmap& raster, int storedWidth, int storedHeight, Layout layout)
    : raster_(raster), storedWidth_(storedWidth), storedHeight_(storedHeight), layout_(layout) {}

void UprightRows::put(int y, int x, int count, const uint8_t* bgra) {
  if (y < 0 || y >= storedHeight_ || x < 0 || x >= storedWidth_ || count <= 0) return;
  if (raster_.getBitCount() != 32 || !raster_.getBits()) return;
  if (count > storedWidth_ - x) count = storedWidth_ - x;
  const int width = storedWidth_;
  if (!layout_.transpose) {
    // Within one raster row: upright row y' = flip ? H - 1 - y : y.
    uint8_t* row = raster_.getRow(layout_.flip ? storedHeight_ - 1 - y : y);
    if (!layout_.mirror) {
      std::memcpy(row + static_cast<size_t>(x) * 4, bgra, static_cast<size_t>(count) * 4);
      return;
    }
    for (int i = 0; i < count; ++i)
      std::memcpy(row + static_cast<size_t>(width - 1 - (x + i)) * 4, bgra + static_cast<size_t>(i) * 4, 4);
    return;
  }
  // Transposed: stored pixel (x, y) goes to upright column (flip ? H - 1 - y : y)
  // of upright row (mirror ? W - 1 - x : x).
  const size_t column = static_cast<size_t>(layout_.flip ? storedHeight_ - 1 - y : y) * 4;
  for (int i = 0; i < count; ++i) {
    const int stored = x + i;
    uint8_t* row = raster_.getRow(layout_.mirror ? width - 1 - stored : stored);
    std::memcpy(row + column, bgra + static_cast<size_t>(i) * 4, 4);
  }
}

uint8_t* UprightRows::directTarget(int y, int x) {
  if (layout_.mirror || layout_.transpose || y < 0 || y >= storedHeight_ || x < 0 || x >= storedWidth_) return nullptr;
  if (raster_.getBitCount() != 32 || !raster_.getBits()) return nullptr;
  return raster_.getRow(layout_.flip ? storedHeight_ - 1 - y : y) + static_cast<size_t>(x) * 4;
}

}  // namespace s::image::util
