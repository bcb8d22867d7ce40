#include "s/image/bmp/PixelConverter.h"

#include <cstring>

#include "s/image/bmp/BmpFormat.h"

namespace s::image::bmp {

BitField::BitField(uint32_t mask) : mask_(mask) {
  if (mask == 0) return;
  shift_ = __builtin_ctz(mask);
  max_ = mask >> shift_;
}

PixelConverter::PixelConverter(int bitCount, uint32_t compression, const uint32_t* colorTable)
    : bitCount_(bitCount), plain32_(bitCount == 32 && compression != kCompressionBitFields), colorTable_(colorTable) {
  if (bitCount == 16 || bitCount == 32) {
    if (compression == kCompressionBitFields) {
      red_ = BitField(colorTable[0]);
      green_ = BitField(colorTable[1]);
      blue_ = BitField(colorTable[2]);
    } else if (bitCount == 16) {
      red_ = BitField(0x7C00);
      green_ = BitField(0x03E0);
      blue_ = BitField(0x001F);
    }
  }
}

namespace {

inline void putEntry(uint8_t* out, uint32_t entry) {
  out[0] = static_cast<uint8_t>(entry);
  out[1] = static_cast<uint8_t>(entry >> 8);
  out[2] = static_cast<uint8_t>(entry >> 16);
  out[3] = 0;
}

}  // namespace

void PixelConverter::toBgra(const uint8_t* source, int width, uint8_t* bgra) const {
  switch (bitCount_) {
    case 1:
      for (int x = 0; x < width; ++x) putEntry(bgra + 4 * x, colorTable_[(source[x >> 3] >> (7 - (x & 7))) & 1]);
      break;
    case 4:
      for (int x = 0; x < width; ++x) {
        int index = (x & 1) ? (source[x >> 1] & 0x0F) : (source[x >> 1] >> 4);
        putEntry(bgra + 4 * x, colorTable_[index]);
      }
      break;
    case 8:
      // Every byte value indexes the 256-entry table, so no index can leave it.
      for (int x = 0; x < width; ++x) putEntry(bgra + 4 * x, colorTable_[source[x]]);
      break;
    case 16:
      for (int x = 0; x < width; ++x) {
        uint32_t pixel = source[2 * x] | (source[2 * x + 1] << 8);
        uint8_t* out = bgra + 4 * x;
        out[0] = blue_.extract(pixel);
        out[1] = green_.extract(pixel);
        out[2] = red_.extract(pixel);
        out[3] = 0;
      }
      break;
    case 24:
      for (int x = 0; x < width; ++x) {
        std::memcpy(bgra + 4 * x, source + 3 * x, 3);
        bgra[4 * x + 3] = 0;
      }
      break;
    case 32:
      for (int x = 0; x < width; ++x) {
        uint8_t* out = bgra + 4 * x;
        if (plain32_) {
          std::memcpy(out, source + 4 * x, 3);
        } else {
          const uint8_t* in = source + 4 * x;
          uint32_t pixel = in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
          out[0] = blue_.extract(pixel);
          out[1] = green_.extract(pixel);
          out[2] = red_.extract(pixel);
        }
        out[3] = 0;
      }
      break;
    default:
      std::memset(bgra, 0, static_cast<size_t>(width) * 4);
      break;
  }
}

void PixelConverter::bgrToOpaqueBgra(const uint8_t* bgr, int width, uint8_t* bgra) {
  int x = 0;
  // Four pixels from three little-endian words at a time.
  for (; x + 4 <= width; x += 4, bgr += 12, bgra += 16) {
    uint32_t in[3];
    std::memcpy(in, bgr, 12);
    const uint32_t out[4] = {in[0] | 0xFF000000u, (in[0] >> 24) | (in[1] << 8) | 0xFF000000u,
                             (in[1] >> 16) | (in[2] << 16) | 0xFF000000u, (in[2] >> 8) | 0xFF000000u};
    std::memcpy(bgra, out, 16);
  }
  for (; x < width; ++x, bgr += 3, bgra += 4) {
    std::memcpy(bgra, bgr, 3);
    bgra[3] = 255;
  }
}

void PixelConverter::copyBgra(const uint8_t* source, int width, uint8_t* bgra, bool* anyNonZero, bool* anyNotOpaque) {
  std::memcpy(bgra, source, static_cast<size_t>(width) * 4);
  // Or and and of every fourth byte: 0 and 255 tell "all 0" and "all 255".
  uint8_t any = 0;
  uint8_t all = 255;
  for (int x = 0; x < width; ++x) {
    any |= source[4 * x + 3];
    all &= source[4 * x + 3];
  }
  if (any != 0) *anyNonZero = true;
  if (all != 255) *anyNotOpaque = true;
}

}  // namespace s::image::bmp
