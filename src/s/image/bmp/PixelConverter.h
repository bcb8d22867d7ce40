#pragma once
// Converts raster rows of any supported depth to 32-bit pixels (bytes blue, green,
// red, fourth byte 0): colour-table lookup for 1, 4 and 8 bits, 5-5-5 or bit-field
// masks for 16 and 32 bits with each channel widened to 8 bits, byte copies for 24
// and plain 32 bits.
#include <cstdint>

namespace s::image::bmp {

// One colour channel of a bit-field pixel: (pixel & mask) >> shift, scaled so that
// the mask's full value becomes 255. A zero mask gives 0. Works for any mask,
// contiguous or not, without shifts of 32 or more and without dividing by 0.
class BitField {
 public:
  BitField() = default;
  explicit BitField(uint32_t mask);
  uint8_t extract(uint32_t pixel) const {
    if (max_ == 0) return 0;
    uint64_t value = (pixel & mask_) >> shift_;
    return static_cast<uint8_t>((value * 255 + max_ / 2) / max_);
  }
  bool present() const { return max_ != 0; }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  uint64_t max_ = 0;
};

class PixelConverter {
 public:
  // colorTable: 256 entries (blue, green, red, 0); for bit fields its first three
  // words are the red, green and blue masks.
  PixelConverter(int bitCount, uint32_t compression, const uint32_t* colorTable);
  void toBgra(const uint8_t* source, int width, uint8_t* bgra) const;

  // The two conversions a decoded photograph needs, in one pass each. 24-bit
  // blue, green, red rows become opaque pixels (fourth byte 255).
  static void bgrToOpaqueBgra(const uint8_t* bgr, int width, uint8_t* bgra);
  // Plain 32-bit rows are copied whole; the fourth bytes are read on the way:
  // anyNonZero and anyNotOpaque are set (never cleared) when a byte is not 0 or
  // not 255.
  static void copyBgra(const uint8_t* source, int width, uint8_t* bgra, bool* anyNonZero, bool* anyNotOpaque);

 private:
  int bitCount_;
  bool plain32_;  // 32-bit blue, green, red, x bytes
  const uint32_t* colorTable_;
  BitField red_, green_, blue_;
};

}  // namespace s::image::bmp
