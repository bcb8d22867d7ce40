#include "s/image/bmp/BmpHeader.h"

#include "s/image/bmp/BmpFormat.h"
#include "s/image/bmp/win/Bitmap.h"

namespace s::image::bmp {

const char* bmpErrorText(BmpError error) {
  switch (error) {
    case BmpError::kNone: return "none";
    case BmpError::kShortHeader: return "short header";
    case BmpError::kNotBmp: return "not a BMP";
    case BmpError::kHeaderSize: return "bad header size";
    case BmpError::kWidth: return "bad width";
    case BmpError::kHeight: return "bad height";
    case BmpError::kPlanes: return "bad planes";
    case BmpError::kBitCount: return "bad bit count";
    case BmpError::kCompression: return "bad compression";
    case BmpError::kTopDownCompressed: return "top-down compressed";
    case BmpError::kTooLarge: return "too large";
    case BmpError::kOverLimit: return "over the caller's limit";
    case BmpError::kPixelDataMissing: return "pixel data missing";
    case BmpError::kRasterRefused: return "raster refused";
    case BmpError::kShortPixelData: return "short pixel data";
  }
  return "?";
}

void BmpHeader::parse(io::ByteCursor& cursor, uint32_t size) {
  headerSize = size;
  if (isCore()) {
    // OS/2 1.x: unsigned 16-bit sizes, no compression, no colour count.
    width = cursor.u16();
    height = cursor.u16();
    planes = cursor.u16();
    bitCount = cursor.u16();
    return;
  }
  width = cursor.s32();
  height = cursor.s32();
  planes = cursor.u16();
  bitCount = cursor.u16();
  compression = cursor.u32();
  imageSize = cursor.u32();
  cursor.skip(8);  // resolution
  colorsUsed = cursor.u32();
  cursor.skip(4);  // colours important
  if (size >= 52) {
    redMask = cursor.u32();
    greenMask = cursor.u32();
    blueMask = cursor.u32();
  }
  if (size >= 56) alphaMask = cursor.u32();
}

void BmpHeader::parseTrailingMasks(io::ByteCursor& cursor) {
  redMask = cursor.u32();
  greenMask = cursor.u32();
  blueMask = cursor.u32();
  if (compression == kCompressionAlphaBitFields) alphaMask = cursor.u32();
}

bool BmpHeader::isBitFields() const {
  return compression == kCompressionBitFields || compression == kCompressionAlphaBitFields;
}

bool BmpHeader::isRle() const { return compression == kCompressionRle8 || compression == kCompressionRle4; }

int BmpHeader::trailingMaskBytes() const {
  if (headerSize != kInfoHeaderBytes || !isBitFields()) return 0;
  return compression == kCompressionAlphaBitFields ? 16 : 12;
}

BmpError BmpHeader::check(int64_t maxPixels) const {
  if (headerSize != 12 && (headerSize < kInfoHeaderBytes || headerSize > kMaxHeaderBytes)) return BmpError::kHeaderSize;
  if (width <= 0) return BmpError::kWidth;
  if (height == 0 || height == INT32_MIN) return BmpError::kHeight;
  if (planes != 1) return BmpError::kPlanes;
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return BmpError::kBitCount;
  }
  switch (compression) {
    case kCompressionNone: break;
    case kCompressionRle8:
      if (bitCount != 8) return BmpError::kCompression;
      break;
    case kCompressionRle4:
      if (bitCount != 4) return BmpError::kCompression;
      break;
    case kCompressionBitFields:
    case kCompressionAlphaBitFields:
      if (bitCount != 16 && bitCount != 32) return BmpError::kCompression;
      // In the OS/2 2.x header, 3 means Huffman-coded and is not bit fields.
      if (headerSize == kOs2V2HeaderBytes) return BmpError::kCompression;
      break;
    default: return BmpError::kCompression;
  }
  if (isTopDown() && isRle()) return BmpError::kTopDownCompressed;
  const int64_t pixels = static_cast<int64_t>(width) * rows();
  if (pixels > bmp::win::Bitmap::kMaxPixels) return BmpError::kTooLarge;
  if (pixels > maxPixels) return BmpError::kOverLimit;
  // Every raster the reader makes (at most 32 bits per pixel) stays below 2^31 bytes.
  if (bmpStride(width, 32) * rows() > INT32_MAX) return BmpError::kTooLarge;
  return BmpError::kNone;
}

}  // namespace s::image::bmp
