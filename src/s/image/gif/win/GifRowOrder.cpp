#include "s/image/gif/win/GifRowOrder.h"

namespace s::image::gif::win {

namespace {

constexpr int kPassCount = 4;
constexpr int kPassStart[kPassCount] = {0, 4, 2, 1};
constexpr int kPassStep[kPassCount] = {8, 8, 4, 2};

}  // namespace

GifRowOrder::GifRowOrder(int height, bool interlaced)
    : height_(height), interlaced_(interlaced), row_(height > 0 ? 0 : -1) {}

void GifRowOrder::advance() {
  if (row_ < 0) return;
  if (!interlaced_) {
    row_ = row_ + 1 < height_ ? row_ + 1 : -1;
    return;
  }
  // height_ is an int, so row_ + 8 cannot overflow before it is compared.
  int next = row_ + kPassStep[pass_];
  while (next >= height_) {
    if (++pass_ == kPassCount) {
      row_ = -1;
      return;
    }
    next = kPassStart[pass_];
  }
  row_ = next;
}

int GifRowOrder::rowAt(int index, int height, bool interlaced) {
  if (index < 0 || index >= height) return -1;
  if (!interlaced) return index;
  for (int pass = 0; pass < kPassCount; ++pass) {
    // Rows of this pass: start, start + step, ... below height.
    int start = kPassStart[pass];
    int rows = start < height ? (height - start + kPassStep[pass] - 1) / kPassStep[pass] : 0;
    if (index < rows) return start + index * kPassStep[pass];
    index -= rows;
  }
  return -1;
}

}  // namespace s::image::gif::win
