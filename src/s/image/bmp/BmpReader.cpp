#include "s/image/bmp/BmpReader.h"

#include <cstring>
#include <vector>

#include "s/image/bmp/BmpFormat.h"
#include "s/image/bmp/PixelConverter.h"
#include "s/image/bmp/RleDecoder.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/io/ByteCursor.h"
#include "s/io/Streams.h"

namespace s::image::bmp {

using win::Bitmap;
using win::RasterLayout;

namespace {

// Bit-field pixels of 16 or 32 bits to blue, green, red, alpha bytes (alpha 0 when
// the file has no alpha mask).
struct BitFieldRow {
  BitField red, green, blue, alpha;
  int bitCount;

  void convert(const uint8_t* source, int width, uint8_t* bgra) const {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      if (bitCount == 16) {
        pixel = source[2 * x] | (source[2 * x + 1] << 8);
      } else {
        const uint8_t* in = source + 4 * x;
        pixel = in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
      }
      uint8_t* out = bgra + 4 * x;
      out[0] = blue.extract(pixel);
      out[1] = green.extract(pixel);
      out[2] = red.extract(pixel);
      out[3] = alpha.extract(pixel);
    }
  }
};

// Whether the reader turns the file's pixels into plain 32-bit ones.
bool convertsToPlain32(const BmpHeader& header) {
  return header.isBitFields() && (header.bitCount == 32 || header.alphaMask != 0);
}

}  // namespace

BmpError BmpReader::readFile(Bitmap& bitmap) {
  const int64_t start = in_.getPosition();
  // File header (14 bytes) and the information header's size field.
  uint8_t bytes[kFileHeaderBytes + 4];
  if (io::Streams::readFully(in_, bytes, sizeof(bytes)) < sizeof(bytes)) return BmpError::kShortHeader;
  io::ByteCursor cursor(bytes, sizeof(bytes));
  const uint16_t type = cursor.u16();
  cursor.skip(4);  // file size: not trusted, the stream is asked instead
  cursor.skip(4);  // two reserved words
  const uint32_t pixelOffset = cursor.u32();
  const uint32_t headerSize = cursor.u32();
  if (type != kBmpType) return BmpError::kNotBmp;
  return readFrom(bitmap, start, headerSize, pixelOffset);
}

BmpError BmpReader::readDib(Bitmap& bitmap) {
  const int64_t start = in_.getPosition();
  uint8_t bytes[4];
  if (io::Streams::readFully(in_, bytes, sizeof(bytes)) < sizeof(bytes)) return BmpError::kShortHeader;
  io::ByteCursor cursor(bytes, sizeof(bytes));
  return readFrom(bitmap, start, cursor.u32(), 0);
}

BmpError BmpReader::readHeader(BmpHeader& header, uint32_t headerSize) {
  if (headerSize != kCoreHeaderBytes && (headerSize < kInfoHeaderBytes || headerSize > BmpHeader::kMaxHeaderBytes))
    return BmpError::kHeaderSize;
  const uint32_t known = headerSize < BmpHeader::kLargestKnownHeader ? headerSize : BmpHeader::kLargestKnownHeader;
  const size_t toRead = known - 4;  // the size field is already read
  uint8_t bytes[BmpHeader::kLargestKnownHeader];
  if (io::Streams::readFully(in_, bytes, toRead) < toRead) return BmpError::kShortHeader;
  io::ByteCursor cursor(bytes, toRead);
  header.parse(cursor, headerSize);
  if (headerSize > known && !io::Streams::skip(in_, headerSize - known)) return BmpError::kShortHeader;
  if (const size_t maskBytes = header.trailingMaskBytes()) {
    uint8_t masks[16];
    if (io::Streams::readFully(in_, masks, maskBytes) < maskBytes) return BmpError::kShortHeader;
    io::ByteCursor maskCursor(masks, maskBytes);
    header.parseTrailingMasks(maskCursor);
  }
  return BmpError::kNone;
}

int BmpReader::readPalette(const BmpHeader& header, int64_t start, uint32_t pixelOffset, uint32_t* palette) {
  const int entryBytes = header.paletteEntryBytes();
  if (header.bitCount > 8) {
    // Deeper pictures may carry an (unused) table; without a pixel offset the
    // pixels follow it.
    if (pixelOffset == 0 && header.colorsUsed != 0)
      (void)io::Streams::skip(in_, static_cast<int64_t>(header.colorsUsed) * entryBytes);
    return 0;
  }
  int64_t declared = 1 << header.bitCount;
  if (!header.isCore() && header.colorsUsed != 0) declared = header.colorsUsed;
  if (pixelOffset != 0) {
    // The table cannot reach into the pixels: writers that keep a short table
    // (OS/2 files especially) say so only through the pixel offset.
    const int64_t room = static_cast<int64_t>(pixelOffset) - (in_.getPosition() - start);
    if (room >= 0 && room / entryBytes < declared) declared = room / entryBytes;
  }
  const int toRead = declared < kMaxPaletteEntries ? static_cast<int>(declared) : kMaxPaletteEntries;
  uint8_t raw[kMaxPaletteEntries * 4];
  const size_t got = io::Streams::readFully(in_, raw, static_cast<size_t>(toRead) * entryBytes);
  for (size_t i = 0; i < got / entryBytes; ++i) {
    const uint8_t* entry = raw + i * entryBytes;
    palette[i] = entry[0] | (entry[1] << 8) | (static_cast<uint32_t>(entry[2]) << 16);
  }
  // Entries past 256 can never be indexed: skip them.
  if (declared > toRead) (void)io::Streams::skip(in_, (declared - toRead) * entryBytes);
  return toRead;
}

BmpError BmpReader::readFrom(Bitmap& bitmap, int64_t start, uint32_t headerSize, uint32_t pixelOffset) {
  BmpHeader header;
  BmpError error = readHeader(header, headerSize);
  if (error != BmpError::kNone) return error;
  error = header.check(maxPixels_);
  if (error != BmpError::kNone) return error;

  uint32_t palette[kMaxPaletteEntries] = {};
  const int paletteCount = readPalette(header, start, pixelOffset, palette);
  // The pixels start at the file's offset unless it points back into the headers
  // (then, as for a DIB, right after the colour table).
  int64_t pixelStart = in_.getPosition();
  const int64_t headersEnd = start + (pixelOffset ? kFileHeaderBytes : 0) + headerSize + header.trailingMaskBytes();
  if (pixelOffset != 0 && start + pixelOffset >= headersEnd) pixelStart = start + pixelOffset;

  return header.isRle() ? readRle(bitmap, header, pixelStart, palette, paletteCount)
                        : readUncompressed(bitmap, header, pixelStart, palette, paletteCount);
}

BmpError BmpReader::readUncompressed(Bitmap& bitmap, const BmpHeader& header, int64_t pixelStart,
                                     const uint32_t* palette, int paletteCount) {
  const int width = header.width;
  const int rows = header.rows();
  const int64_t fileStride = bmpStride(width, header.bitCount);
  // check() bounds a 32-bit raster of this size below 2^31 bytes, so this fits.
  const int64_t need = fileStride * rows;
  // Accept a file whose last row is cut short (a common writer fault); anything
  // shorter is refused before a raster is allocated for it.
  const int64_t required = need > fileStride ? need - fileStride : 1;
  if (!io::Streams::hasByteAt(in_, pixelStart + required - 1)) return BmpError::kPixelDataMissing;

  RasterLayout layout;
  layout.width = width;
  layout.height = rows;
  layout.bitCount = header.bitCount;
  const uint32_t masks[3] = {header.redMask, header.greenMask, header.blueMask};
  const bool toPlain32 = convertsToPlain32(header);
  if (header.bitCount <= 8) {
    layout.colorTable = palette;
    layout.paletteCount = paletteCount;
  } else if (toPlain32) {
    layout.bitCount = 32;
  } else if (header.isBitFields()) {
    layout.compression = kCompressionBitFields;
    layout.colorTable = masks;
  }
  if (!bitmap.createRaster(layout)) return BmpError::kRasterRefused;
  if (!in_.seek(pixelStart)) {
    bitmap.reset();
    return BmpError::kPixelDataMissing;
  }

  if (!toPlain32 && !header.isTopDown()) {
    // The file's rows are the raster's rows: one block.
    const size_t got = io::Streams::readFully(in_, bitmap.getBits(), static_cast<size_t>(need));
    return got < static_cast<size_t>(need) ? BmpError::kShortPixelData : BmpError::kNone;
  }
  BitFieldRow converter{BitField(header.redMask), BitField(header.greenMask), BitField(header.blueMask),
                        BitField(header.alphaMask), header.bitCount};
  std::vector<uint8_t> row(static_cast<size_t>(fileStride));
  for (int i = 0; i < rows; ++i) {
    const size_t got = io::Streams::readFully(in_, row.data(), row.size());
    if (got < row.size()) std::memset(row.data() + got, 0, row.size() - got);
    // File row i is the bottom row first, or the top row first in a top-down file.
    uint8_t* target = bitmap.getRow(header.isTopDown() ? i : rows - 1 - i);
    if (toPlain32) {
      converter.convert(row.data(), width, target);
    } else {
      std::memcpy(target, row.data(), row.size());
    }
    if (got < row.size()) return BmpError::kShortPixelData;
  }
  return BmpError::kNone;
}

BmpError BmpReader::readRle(Bitmap& bitmap, const BmpHeader& header, int64_t pixelStart, const uint32_t* palette,
                            int paletteCount) {
  const int width = header.width;
  const int rows = header.rows();
  // No useful run-length stream is longer than two bytes per pixel plus an
  // end-of-line code per row; the rest could never be decoded.
  const int64_t usefulBytes = static_cast<int64_t>(width) * rows * 2 + static_cast<int64_t>(rows) * 2 + 2;
  if (!in_.seek(pixelStart)) return BmpError::kPixelDataMissing;
  // Read in chunks, so memory follows the bytes really present, not the header.
  std::vector<uint8_t> data;
  constexpr size_t kChunk = 1 << 20;
  while (static_cast<int64_t>(data.size()) < usefulBytes) {
    const int64_t missing = usefulBytes - static_cast<int64_t>(data.size());
    const size_t want = missing < static_cast<int64_t>(kChunk) ? static_cast<size_t>(missing) : kChunk;
    const size_t old = data.size();
    data.resize(old + want);
    const size_t got = io::Streams::readFully(in_, data.data() + old, want);
    data.resize(old + got);
    if (got < want) break;
  }
  if (data.empty()) return BmpError::kPixelDataMissing;

  RasterLayout layout;
  layout.width = width;
  layout.height = rows;
  layout.bitCount = header.bitCount;
  layout.colorTable = palette;
  layout.paletteCount = paletteCount;
  if (!bitmap.createRaster(layout)) return BmpError::kRasterRefused;
  RleDecoder decoder(header.bitCount, width, rows, bitmap.getBits(), bitmap.getStride());
  return decoder.decode(data.data(), data.size()) == RleDecoder::Result::kComplete ? BmpError::kNone
                                                                                   : BmpError::kShortPixelData;
}

}  // namespace s::image::bmp
