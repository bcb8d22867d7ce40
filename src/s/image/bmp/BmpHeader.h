#pragma once
// The information header of a BMP file or DIB as read from disk, in any of its
// versions: the OS/2 1.x core header (12 bytes) and the Windows headers of 40, 52,
// 56, 108 and 124 bytes (longer unknown versions are read as far as 124 bytes).
// parse() only moves bytes into fields; check() then decides whether the reader
// can use them.
#include <cstdint>

#include "s/io/ByteCursor.h"

namespace s::image::bmp {

// Why a file was not (completely) read. Limits set by the caller differ from
// damage in the file.
enum class [[nodiscard]] BmpError : uint8_t {
  kNone,
  kShortHeader,        // the file ends inside the headers
  kNotBmp,             // no "BM" signature
  kHeaderSize,         // an information-header size no version has
  kWidth,              // width <= 0
  kHeight,             // height 0 (or not representable when negated)
  kPlanes,             // planes other than 1
  kBitCount,           // not 1, 4, 8, 16, 24 or 32 bits per pixel
  kCompression,        // compression unknown or not valid at this depth
  kTopDownCompressed,  // run-length data in a top-down file
  kTooLarge,           // raster over 2^31 bytes
  kOverLimit,          // more pixels than the caller allows
  kPixelDataMissing,   // the file holds far fewer pixel bytes than declared
  kRasterRefused,      // the memory for the raster was refused
  kShortPixelData,     // pixel data ends early: the raster is partly decoded
};

const char* bmpErrorText(BmpError error);

class BmpHeader {
 public:
  static constexpr uint32_t kMaxHeaderBytes = 0x10000;
  static constexpr uint32_t kLargestKnownHeader = 124;
  static constexpr uint32_t kOs2V2HeaderBytes = 64;

  // Reads the fields after the size field. cursor covers the first
  // min(headerSize, 124) - 4 bytes of the header.
  void parse(io::ByteCursor& cursor, uint32_t headerSize);
  // Reads the masks that follow a 40-byte header for bit-field compression.
  void parseTrailingMasks(io::ByteCursor& cursor);
  BmpError check(int64_t maxPixels) const;

  bool isCore() const { return headerSize == 12; }
  bool isTopDown() const { return height < 0; }
  int rows() const { return height < 0 ? -height : height; }
  bool isBitFields() const;
  bool isRle() const;
  // Bytes of masks that follow the header (a 40-byte header with bit fields).
  int trailingMaskBytes() const;
  int paletteEntryBytes() const { return isCore() ? 3 : 4; }

  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
  uint32_t redMask = 0;
  uint32_t greenMask = 0;
  uint32_t blueMask = 0;
  uint32_t alphaMask = 0;
};

}  // namespace s::image::bmp
