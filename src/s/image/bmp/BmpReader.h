#pragma once
// Reads a BMP file (or a DIB without file header) from a stream into a Bitmap, in
// the raster form the Bitmap keeps: bottom-up, uncompressed, 40-byte header.
// Top-down files are turned over, run-length data is expanded, 32-bit bit fields
// and 16-bit bit fields with alpha become plain 32-bit blue, green, red, alpha.
//
// Input is hostile: every header field is checked before use, sizes are computed
// in 64 bits, at most 256 colour-table entries are read, and the pixel block must be
// present in the stream before a raster is allocated for it.
#include <cstdint>

#include "s/image/bmp/BmpHeader.h"
#include "s/io/IInputStream.h"

namespace s::image::bmp {

namespace win {
class Bitmap;
}

class BmpReader {
 public:
  BmpReader(io::IInputStream& in, int64_t maxPixels) : in_(in), maxPixels_(maxPixels) {}

  // From the file header on. On failure the bitmap is empty, except after
  // kShortPixelData, which leaves the rows that were there.
  BmpError readFile(win::Bitmap& bitmap);
  // From the information header on; the pixels follow the colour table.
  BmpError readDib(win::Bitmap& bitmap);

 private:
  // pixelOffset: from start, or 0 when the pixels follow the colour table.
  BmpError readFrom(win::Bitmap& bitmap, int64_t start, uint32_t headerSize, uint32_t pixelOffset);
  BmpError readHeader(BmpHeader& header, uint32_t headerSize);
  int readPalette(const BmpHeader& header, int64_t start, uint32_t pixelOffset, uint32_t* palette);
  BmpError readUncompressed(win::Bitmap& bitmap, const BmpHeader& header, int64_t pixelStart,
                            const uint32_t* palette, int paletteCount);
  BmpError readRle(win::Bitmap& bitmap, const BmpHeader& header, int64_t pixelStart, const uint32_t* palette,
                   int paletteCount);

  io::IInputStream& in_;
  int64_t maxPixels_;
};

}  // namespace s::image::bmp
