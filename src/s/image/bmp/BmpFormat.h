#pragma once
// The two headers of a BMP file as the codec keeps them, and the numbers of the
// format. All multi-byte fields are little-endian on disk.
#include <cstdint>

namespace s::image::bmp {

inline constexpr int kFileHeaderBytes = 14;
inline constexpr int kInfoHeaderBytes = 40;
inline constexpr int kCoreHeaderBytes = 12;  // OS/2 1.x header: 16-bit sizes, 3-byte palette
inline constexpr int kMaxPaletteEntries = 256;
inline constexpr uint16_t kBmpType = 0x4D42;  // "BM"

// Compression field values.
inline constexpr uint32_t kCompressionNone = 0;
inline constexpr uint32_t kCompressionRle8 = 1;
inline constexpr uint32_t kCompressionRle4 = 2;
inline constexpr uint32_t kCompressionBitFields = 3;
inline constexpr uint32_t kCompressionAlphaBitFields = 6;

// Colour-table entries counted for a bit-field bitmap (the three masks occupy the
// first 12 bytes of the table; the rest is written as zeros).
inline constexpr int kBitFieldPaletteCount = 12;

struct FileHeader {
  uint16_t type = kBmpType;
  uint32_t fileSize = kFileHeaderBytes + kInfoHeaderBytes;
  uint16_t reserved1 = 0;
  uint16_t reserved2 = 0;
  uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
};

struct InfoHeader {
  uint32_t size = kInfoHeaderBytes;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows stored bottom-up
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  uint32_t compression = kCompressionNone;
  uint32_t imageSize = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t colorsUsed = 0;
  uint32_t colorsImportant = 0;
};

// Bytes per row of a raster: bits rounded up to whole 32-bit words.
inline int64_t bmpStride(int64_t width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

}  // namespace s::image::bmp
