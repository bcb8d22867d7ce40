// The reference convolution: each pixel from the picture as it is at that moment.
#include <cstring>

#include "s/image/filters/convolution/_convolve/Rows.h"

namespace s::image::filters::convolution::_convolve {

namespace {

int clampIndex(int value, int limit) { return value < 0 ? 0 : (value >= limit ? limit - 1 : value); }

// Signed division truncating toward zero; 0 and 1 leave the sum alone, and -1 negates
// with wrap-around (INT32_MIN / -1 does not exist in C++).
int32_t divide(int32_t sum, int32_t divisor) {
  if (divisor == 0 || divisor == 1) return sum;
  if (divisor == -1) return static_cast<int32_t>(0u - static_cast<uint32_t>(sum));
  return sum / divisor;
}

}  // namespace

void filterPixel(uint8_t* const* rows, int width, int height, int x, int y, const Kernel& kernel) {
  // The nine taps are read before the pixel is written: a tap at the pixel itself
  // (the edges) sees the unfiltered value.
  const uint8_t* taps[9];
  for (int dy = -1, t = 0; dy <= 1; ++dy) {
    const uint8_t* row = rows[clampIndex(y + dy, height)];
    for (int dx = -1; dx <= 1; ++dx, ++t) taps[t] = row + 4 * clampIndex(x + dx, width);
  }
  uint8_t result[4];
  for (int c = 0; c < 4; ++c) {
    // 32-bit sums that wrap like the machine's: unsigned arithmetic has no overflow.
    uint32_t sum = 0;
    for (int t = 0; t < 9; ++t) sum += static_cast<uint32_t>(kernel.weights[t]) * taps[t][c];
    const int32_t value = divide(static_cast<int32_t>(sum), kernel.divisor);
    result[c] = static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
  }
  std::memcpy(rows[y] + 4 * x, result, 4);
}

void filterReference(uint8_t* const* rows, int width, int height, const Kernel& kernel) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) filterPixel(rows, width, height, x, y, kernel);
}

}  // namespace s::image::filters::convolution::_convolve
