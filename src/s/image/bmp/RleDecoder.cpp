#include "s/image/bmp/RleDecoder.h"

namespace s::image::bmp {

void RleDecoder::put(int x, int y, uint8_t index) {
  // Callers keep 0 <= y < rows; columns past the width are dropped here.
  if (x < 0 || x >= width_) return;
  uint8_t* row = bits_ + static_cast<ptrdiff_t>(y) * stride_;
  if (bitCount_ == 8) {
    row[x] = index;
  } else if (x & 1) {
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
  } else {
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (index << 4));
  }
}

RleDecoder::Result RleDecoder::decode(const uint8_t* data, size_t size) {
  size_t at = 0;
  int x = 0;
  int y = 0;
  // Each pass consumes at least two bytes, so the loop ends with the data.
  while (y < rows_) {
    if (size - at < 2) return Result::kTruncated;
    const int count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      // An encoded run: count pixels of one index (RLE8) or of two alternating
      // indices, high nibble first (RLE4).
      for (int i = 0; i < count && x < width_; ++i, ++x) {
        uint8_t index = bitCount_ == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4));
        put(x, y, index);
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return Result::kComplete;
      case 2: {  // delta: move right and up
        if (size - at < 2) return Result::kTruncated;
        // Kept at the width so that a long chain of deltas cannot overflow x.
        x += data[at];
        if (x > width_) x = width_;
        y += data[at + 1];
        at += 2;
        break;
      }
      default: {
        // An absolute run of `value` pixels, padded to a 16-bit boundary.
        const size_t dataBytes = bitCount_ == 8 ? value : (static_cast<size_t>(value) + 1) / 2;
        const size_t paddedBytes = (dataBytes + 1) & ~static_cast<size_t>(1);
        if (size - at < dataBytes) {
          // Decode what is there, then stop.
          for (size_t i = 0; i < value && x < width_; ++i, ++x) {
            size_t byte = bitCount_ == 8 ? i : i / 2;
            if (byte >= size - at) return Result::kTruncated;
            uint8_t packed = data[at + byte];
            put(x, y, bitCount_ == 8 ? packed : ((i & 1) ? (packed & 0x0F) : (packed >> 4)));
          }
          return Result::kTruncated;
        }
        for (size_t i = 0; i < value && x < width_; ++i, ++x) {
          uint8_t packed = data[at + (bitCount_ == 8 ? i : i / 2)];
          put(x, y, bitCount_ == 8 ? packed : ((i & 1) ? (packed & 0x0F) : (packed >> 4)));
        }
        at += paddedBytes <= size - at ? paddedBytes : size - at;
        break;
      }
    }
  }
  return Result::kComplete;
}

}  // namespace s::image::bmp
