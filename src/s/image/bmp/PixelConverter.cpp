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

}  // namespace s::image::bmp
