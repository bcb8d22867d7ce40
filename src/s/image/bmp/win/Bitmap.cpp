#include "s/image/bmp/win/Bitmap.h"

#include <cstring>

#include "s/image/bmp/BmpReader.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/bmp/PixelConverter.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/io/ByteWriter.h"
#include "s/io/Streams.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

namespace {

// The 14 bytes of the file header.
void writeFileHeader(const FileHeader& header, io::ByteWriter& out) {
  out.u16(header.type);
  out.u32(header.fileSize);
  out.u16(header.reserved1);
  out.u16(header.reserved2);
  out.u32(header.pixelOffset);
}

// The 40 bytes of the information header.
void writeInfoHeader(const InfoHeader& info, io::ByteWriter& out) {
  out.u32(info.size);
  out.s32(info.width);
  out.s32(info.height);
  out.u16(info.planes);
  out.u16(info.bitCount);
  out.u32(info.compression);
  out.u32(info.imageSize);
  out.s32(info.xPelsPerMeter);
  out.s32(info.yPelsPerMeter);
  out.u32(info.colorsUsed);
  out.u32(info.colorsImportant);
}

bool isSupportedBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

}  // namespace

Bitmap::Bitmap() { std::memset(colorTable_, 0, sizeof(colorTable_)); }

Bitmap::~Bitmap() = default;

void Bitmap::reset() {
  clearRaster();
  transparentColor_ = -1;
}

void Bitmap::clearRaster() {
  memory_.destroy();
  bits_ = nullptr;
  fileHeader_ = FileHeader();
  info_ = InfoHeader();
  std::memset(colorTable_, 0, sizeof(colorTable_));
  stride_ = 0;
  paletteCount_ = 0;
}

int Bitmap::paletteCountOf(const InfoHeader& info) {
  int64_t count = 0;
  if (info.colorsUsed != 0) {
    count = static_cast<int64_t>(info.colorsUsed) + (info.bitCount >= 16 ? kBitFieldPaletteCount : 0);
  } else if (info.compression == kCompressionBitFields) {
    count = kBitFieldPaletteCount;
  } else if (info.bitCount <= 8) {
    count = info.bitCount == 1 ? 2 : info.bitCount == 4 ? 16 : info.bitCount == 8 ? 256 : 0;
  }
  // The colour table has 256 entries; a header can never make us use more.
  return count > kMaxPaletteEntries ? kMaxPaletteEntries : static_cast<int>(count);
}

bool Bitmap::createRaster(const RasterLayout& layout) {
  clearRaster();
  const int bitCount = layout.bitCount;
  if (layout.width <= 0 || layout.height <= 0 || !isSupportedBitCount(bitCount)) return false;
  const bool bitFields = layout.compression == kCompressionBitFields;
  if (layout.compression != kCompressionNone && !(bitFields && (bitCount == 16 || bitCount == 32))) return false;
  // 64-bit sizes: the width and height are at most 2^31 each, so neither product
  // below can overflow int64.
  const int64_t pixels = static_cast<int64_t>(layout.width) * layout.height;
  const int64_t stride = bmpStride(layout.width, bitCount);
  const int64_t pixelBytes = stride * layout.height;
  if (pixels > kMaxPixels || pixelBytes > INT32_MAX) return false;

  info_.width = layout.width;
  info_.height = layout.height;
  info_.bitCount = static_cast<uint16_t>(bitCount);
  info_.compression = layout.compression;
  // The unpadded pixel byte count, rounded up to whole bytes.
  info_.imageSize = static_cast<uint32_t>((pixels * bitCount + 7) / 8);
  if (bitCount <= 8) {
    int declared = layout.paletteCount > 0 ? layout.paletteCount : (1 << bitCount);
    info_.colorsUsed = static_cast<uint32_t>(declared > kMaxPaletteEntries ? kMaxPaletteEntries : declared);
  }
  info_.colorsImportant = info_.colorsUsed;
  paletteCount_ = paletteCountOf(info_);
  if (layout.colorTable) {
    int entries = bitFields ? 3 : paletteCount_;
    std::memcpy(colorTable_, layout.colorTable, static_cast<size_t>(entries) * 4);
  }
  stride_ = static_cast<int>(stride);
  const uint32_t paletteBytes = static_cast<uint32_t>(paletteCount_) * 4;
  fileHeader_.pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
  fileHeader_.fileSize = fileHeader_.pixelOffset + static_cast<uint32_t>(pixelBytes);

  if (!memory_.create(static_cast<size_t>(pixelBytes), layout.zeroed)) {
    clearRaster();
    return false;
  }
  bits_ = memory_.bits();
  // An uncleared raster still gets its row padding cleared: only the pixels are
  // the caller's to write.
  const int64_t usedBytes = (static_cast<int64_t>(layout.width) * bitCount + 7) / 8;
  if (!layout.zeroed && usedBytes < stride) {
    for (int y = 0; y < layout.height; ++y)
      std::memset(bits_ + static_cast<ptrdiff_t>(y) * stride_ + usedBytes, 0, static_cast<size_t>(stride - usedBytes));
  }
  return true;
}

bool Bitmap::create(int width, int height, int bitCount) {
  RasterLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = bitCount;
  return createRaster(layout);
}

bool Bitmap::createForOverwrite(int width, int height, int bitCount) {
  RasterLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = bitCount;
  layout.zeroed = false;
  return createRaster(layout);
}

BitmapHandle Bitmap::getHandle() {
  if (!bits_ || memory_.existingSection()) return memory_.existingSection();
  const size_t paletteBytes = static_cast<size_t>(paletteCount_) * 4;
  io::ByteWriter bitmapInfo(kInfoHeaderBytes + paletteBytes);
  writeInfoHeader(info_, bitmapInfo);
  bitmapInfo.bytes(colorTable_, paletteBytes);
  BitmapHandle handle = memory_.section(bitmapInfo.data(), bitmapInfo.size());
  bits_ = memory_.bits();
  return handle;
}

bool Bitmap::hasAlphaChannel() const { return info_.bitCount == 32 && info_.compression != kCompressionBitFields; }

void Bitmap::setTransparentColor(int red, int green, int blue) {
  transparentColor_ = ((red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF);
}

void Bitmap::convertRow(int y, uint8_t* bgra) const {
  PixelConverter converter(info_.bitCount, info_.compression, colorTable_);
  converter.toBgra(getRow(y), info_.width, bgra);
}

bool Bitmap::write(io::IOutputStream& out) {
  io::ByteWriter header(kFileHeaderBytes);
  writeFileHeader(fileHeader_, header);
  bool headerOk = io::Streams::writeFully(out, header.data(), header.size());
  // A failed block is abandoned and the next one still attempted; the result
  // reports that the file is incomplete.
  bool dibOk = writeDib(out);
  return headerOk && dibOk;
}

bool Bitmap::writeDib(io::IOutputStream& out) {
  io::ByteWriter header(kInfoHeaderBytes);
  writeInfoHeader(info_, header);
  bool ok = io::Streams::writeFully(out, header.data(), header.size());
  if (paletteCount_ != 0) ok = io::Streams::writeFully(out, colorTable_, getPaletteSize()) && ok;
  size_t pixelBytes = static_cast<size_t>(stride_) * static_cast<size_t>(info_.height > 0 ? info_.height : 0);
  if (bits_ && pixelBytes != 0) ok = io::Streams::writeFully(out, bits_, pixelBytes) && ok;
  return ok;
}

bool Bitmap::read(io::IInputStream& in) { return readLimited(in, kMaxPixels); }

bool Bitmap::readLimited(io::IInputStream& in, int64_t maxPixels) {
  reset();
  BmpReader reader(in, maxPixels);
  return reader.readFile(*this) == BmpError::kNone;
}

bool Bitmap::readDib(io::IInputStream& in) { return readDibLimited(in, kMaxPixels); }

bool Bitmap::readDibLimited(io::IInputStream& in, int64_t maxPixels) {
  reset();
  BmpReader reader(in, maxPixels);
  return reader.readDib(*this) == BmpError::kNone;
}

BufferedImage* Bitmap::toBufferedImage(int, BufferedImage* target) {
  const int width = bits_ ? info_.width : 0;
  const int height = bits_ ? info_.height : 0;
  // Every path below writes every pixel.
  target = BufferedImage::outputFor(target, width, height);
  if (target->getWidth() == 0) return target;
  if (info_.bitCount == 24 && !hasTransparentColor()) {
    for (int y = 0; y < height; ++y) PixelConverter::bgrToOpaqueBgra(getRow(y), width, target->getLine(y));
    target->setAlpha(false);
    return target;
  }
  if (hasAlphaChannel()) {
    // The fourth bytes are alpha unless all of them are 0: files written without
    // alpha leave them 0, and such a file is opaque.
    bool anyAlpha = false;
    bool notOpaque = false;
    for (int y = 0; y < height; ++y)
      PixelConverter::copyBgra(getRow(y), width, target->getLine(y), &anyAlpha, &notOpaque);
    if (anyAlpha) {
      target->setAlpha(notOpaque);
      return target;
    }
    BufferedImage::setOpaque(target);
    return target;
  }
  PixelConverter converter(info_.bitCount, info_.compression, colorTable_);
  for (int y = 0; y < height; ++y) converter.toBgra(getRow(y), width, target->getLine(y));
  if (hasTransparentColor()) {
    BufferedImage::applyColourKey(target, (transparentColor_ >> 16) & 0xFF, (transparentColor_ >> 8) & 0xFF,
                                  transparentColor_ & 0xFF);
    return target;
  }
  BufferedImage::setOpaque(target);
  return target;
}

thread::Owned<BufferedImageSet> Bitmap::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), info_.bitCount, 0, 0);
  return set;
}

thread::Owned<IEncodedImage> Bitmap::createLike(IImage* imageOrSet) {
  if (auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet)) return createLike(set->getPrimary());
  return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
}

thread::Owned<IEncodedImage> Bitmap::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->bitsPerPixel = info_.bitCount;
  return setting->encodeImage(image);
}

}  // namespace s::image::bmp::win
