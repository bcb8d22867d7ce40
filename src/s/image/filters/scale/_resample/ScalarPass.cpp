#include <cstring>

#include "s/image/filters/scale/_resample/Passes.h"

namespace s::image::filters::scale::_resample {

// The reference arithmetic. Sums are unsigned 32-bit: the weights of an entry add
// up to at most 65536, so a sum stays below 2^24 and never wraps.

void filterPixelScalar(const uint8_t* in, uint8_t* out, const Contribution& table, int index) {
  const int first = table.first(index);
  const int last = table.last(index);
  const uint8_t* pixel = in + static_cast<ptrdiff_t>(first) * 4;
  if (first == last) {
    std::memcpy(out, pixel, 4);
    return;
  }
  const int32_t* weights = table.weights(index);
  uint32_t sums[4] = {0, 0, 0, 0};
  for (int k = 0; k <= last - first; ++k, pixel += 4) {
    const uint32_t weight = static_cast<uint32_t>(weights[k]);
    for (int c = 0; c < 4; ++c) sums[c] += weight * pixel[c];
  }
  for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>((sums[c] + 32768) >> 16);
}

void filterRowScalar(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable&) {
  const int n = table.getEntryCount();
  for (int i = 0; i < n; ++i, out += 4) filterPixelScalar(in, out, table, i);
}

void filterBytesScalar(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, size_t offset, size_t bytes,
                       const Contribution& table, int index) {
  const int first = table.first(index);
  const int last = table.last(index);
  const uint8_t* top = buffer + static_cast<ptrdiff_t>(first) * stride + offset;
  if (first == last) {
    std::memcpy(out + offset, top, bytes);
    return;
  }
  const int32_t* weights = table.weights(index);
  for (size_t x = 0; x < bytes; ++x) {
    uint32_t sum = 0;
    const uint8_t* value = top + x;
    for (int k = 0; k <= last - first; ++k, value += stride) sum += static_cast<uint32_t>(weights[k]) * *value;
    out[offset + x] = static_cast<uint8_t>((sum + 32768) >> 16);
  }
}

void filterColumnsScalar(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width, const Contribution& table,
                         const PassTable&, int index) {
  filterBytesScalar(buffer, stride, out, 0, static_cast<size_t>(width) * 4, table, index);
}

}  // namespace s::image::filters::scale::_resample
