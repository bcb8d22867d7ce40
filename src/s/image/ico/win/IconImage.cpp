#include "s/image/ico/win/IconImage.h"

#include <cstring>

#include "s/col/_array/ArrayU08.h"
#include "s/image/bmp/BmpHeader.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/png/win/Png.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/io/ByteCursor.h"
#include "s/io/ByteWriter.h"
#include "s/io/Streams.h"
#include "s/thread/Owned.h"

namespace s::image::ico::win {

using bmp::win::Bitmap;
using image::win::BufferedImage;
using image::win::BufferedImageSet;

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kReadBlock = 64 * 1024;

// The empty image's header: no size, no depth.
bmp::InfoHeader emptyHeader() {
  bmp::InfoHeader info;
  info.bitCount = 0;
  return info;
}

// Copies up to count bytes from offset of the data into out; what the data does not
// hold stays as it is (zero in a new raster or mask). True when all were there.
bool copyAvailable(const uint8_t* data, size_t size, uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= size) return count == 0;
  const size_t available = size - static_cast<size_t>(offset);
  const size_t taken = count < available ? count : available;
  if (taken) std::memcpy(out, data + offset, taken);
  return taken == count;
}

}  // namespace

IconImage::IconImage()
    : raster_(Bitmap::create()), encoded_(col::_array::ArrayU08::create()), info_(emptyHeader()) {}

IconImage::~IconImage() = default;

void IconImage::reset() {
  clearImage();
  encoded_->freeStorage();
}

void IconImage::clearImage() {
  raster_->reset();
  info_ = emptyHeader();
  mask_ = {};
  maskStride_ = 0;
}

int IconImage::getWidth() const { return raster_->getWidth(); }

int IconImage::getHeight() const { return raster_->getHeight(); }

int IconImage::getPaletteCount() const { return raster_->getPaletteCount(); }

uint8_t* IconImage::getRow(int y) { return raster_->getRow(y); }

uint8_t* IconImage::getBits() { return raster_->getBits(); }

int IconImage::getStride() const { return raster_->getStride(); }

uint8_t* IconImage::getMaskRow(int y) {
  return mask_.data() + static_cast<ptrdiff_t>(getHeight() - 1 - y) * maskStride_;
}

bool IconImage::isMasked(int x, int y) const {
  const uint8_t* row = mask_.data() + static_cast<ptrdiff_t>(getHeight() - 1 - y) * maskStride_;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

bool IconImage::drawToHandle(BitmapHandle bitmap) const { return raster_->drawToHandle(bitmap); }

bool IconImage::create(int width, int height, int bitCount) {
  clearImage();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  bmp::win::RasterLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = bitCount;
  if (!raster_->createRaster(layout)) return false;  // refuses other depths and sizes
  info_ = bmp::InfoHeader();
  info_.width = width;
  info_.height = height;
  info_.bitCount = static_cast<uint16_t>(bitCount);
  // The pixel count, not scaled by the depth: at most 65535^2, which fits.
  info_.imageSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
  info_.colorsUsed = info_.colorsImportant = bitCount <= 8 ? 1u << bitCount : 0;
  maskStride_ = static_cast<int>(bmp::bmpStride(width, 1));
  mask_.assign(static_cast<size_t>(maskStride_) * static_cast<size_t>(height), 0);
  return true;
}

bool IconImage::read(io::IInputStream& in) { return readLimited(in, Bitmap::kMaxPixels); }

bool IconImage::readLimited(io::IInputStream& in, int64_t maxPixels) {
  reset();
  // The whole entry, in blocks, so memory follows the bytes the stream really has.
  uint8_t block[kReadBlock];
  while (encoded_->getCount() < kMaxEncodedBytes) {
    const size_t room = kMaxEncodedBytes - encoded_->getCount();
    const size_t got = io::Streams::readFully(in, block, room < sizeof(block) ? room : sizeof(block));
    if (got) encoded_->write(block, got, nullptr);
    if (got < sizeof(block)) break;
  }
  encoded_->rewind();
  const bool isPng =
      encoded_->getCount() > 7 && std::memcmp(encoded_->data(), kPngSignature, sizeof(kPngSignature)) == 0;
  return isPng ? decodePng(maxPixels) : decodeDib(maxPixels);
}

bool IconImage::decodePng(int64_t maxPixels) {
  thread::Owned<png::win::Png> png(png::win::Png::create());
  encoded_->rewind();
  const bool whole = png->readLimited(*encoded_, maxPixels < Bitmap::kMaxPixels ? maxPixels : Bitmap::kMaxPixels);
  encoded_->rewind();
  if (png->getWidth() > kMaxSide || png->getHeight() > kMaxSide) return false;
  thread::Owned<BufferedImage> picture(png->toBufferedImage(0, nullptr));
  return build(picture.get(), 32, true, 255, 255, 255) && whole;
}

bool IconImage::decodeDib(int64_t maxPixels) {
  const uint8_t* data = encoded_->data();
  const size_t size = encoded_->getCount();
  io::ByteCursor sizeField(data, size);
  const uint32_t headerSize = sizeField.u32();
  // The 40-byte header and its later versions; the 12-byte core header is not an
  // icon's.
  if (!sizeField.ok() || headerSize < bmp::kInfoHeaderBytes || headerSize > bmp::BmpHeader::kMaxHeaderBytes)
    return false;
  const uint32_t known = headerSize < bmp::BmpHeader::kLargestKnownHeader ? headerSize
                                                                          : bmp::BmpHeader::kLargestKnownHeader;
  if (size < known) return false;
  io::ByteCursor fields(data + 4, known - 4);
  bmp::BmpHeader header;
  header.parse(fields, headerSize);
  // The height counts the colour rows and the mask rows: half of it must remain.
  if (header.height < 2) return false;
  header.height /= 2;
  if (header.compression != bmp::kCompressionNone) return false;
  if (header.check(maxPixels) != bmp::BmpError::kNone) return false;
  if (header.width > kMaxSide || header.height > kMaxSide) return false;

  // 64-bit offsets: a colour count near 2^32 moves the pixels past any data.
  uint64_t offset = headerSize;
  uint32_t palette[bmp::kMaxPaletteEntries] = {};
  int paletteCount = 0;
  if (header.bitCount <= 8) {
    const uint64_t declared = header.colorsUsed != 0 ? header.colorsUsed : uint64_t{1} << header.bitCount;
    paletteCount = static_cast<int>(declared < bmp::kMaxPaletteEntries ? declared : bmp::kMaxPaletteEntries);
    uint8_t quads[bmp::kMaxPaletteEntries * 4] = {};
    (void)copyAvailable(data, size, offset, quads, static_cast<size_t>(paletteCount) * 4);
    for (int i = 0; i < paletteCount; ++i)
      palette[i] = quads[4 * i] | (quads[4 * i + 1] << 8) | (static_cast<uint32_t>(quads[4 * i + 2]) << 16);
    offset += declared * 4;  // entries past 256 can never be indexed: skipped
  } else {
    offset += uint64_t{header.colorsUsed} * 4;  // an unused table of a deeper picture
  }

  bmp::win::RasterLayout layout;
  layout.width = header.width;
  layout.height = header.height;
  layout.bitCount = header.bitCount;
  layout.colorTable = palette;
  layout.paletteCount = paletteCount;
  if (!raster_->createRaster(layout)) return false;
  info_ = bmp::InfoHeader();
  info_.width = header.width;
  info_.height = header.height;
  info_.bitCount = header.bitCount;
  info_.imageSize = header.imageSize;
  info_.colorsUsed = info_.colorsImportant = static_cast<uint32_t>(paletteCount);

  const size_t colourBytes = static_cast<size_t>(raster_->getStride()) * static_cast<size_t>(header.height);
  const bool colourWhole = copyAvailable(data, size, offset, raster_->getBits(), colourBytes);
  offset += colourBytes;
  maskStride_ = static_cast<int>(bmp::bmpStride(header.width, 1));
  mask_.assign(static_cast<size_t>(maskStride_) * static_cast<size_t>(header.height), 0);
  const bool maskWhole = copyAvailable(data, size, offset, mask_.data(), mask_.size());
  return colourWhole && maskWhole;
}

BufferedImage* IconImage::toBufferedImage(int, BufferedImage* target) {
  const int width = getWidth();
  const int height = getHeight();
  target = BufferedImage::outputFor(target, width, height);
  if (target->getWidth() == 0) return target;
  for (int y = 0; y < height; ++y) raster_->convertRow(y, target->getLine(y));
  if (info_.bitCount == 32) {
    // The colour bytes' alpha, unless every one is 0: a picture written without
    // alpha, whose transparency is in the mask.
    bool anyAlpha = false;
    bool notOpaque = false;
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = raster_->getRow(y);
      uint8_t* line = target->getLine(y);
      for (int x = 0; x < width; ++x) {
        const uint8_t alpha = row[4 * x + 3];
        line[4 * x + 3] = alpha;
        anyAlpha |= alpha != 0;
        notOpaque |= alpha != 255;
      }
    }
    if (anyAlpha) {
      target->setAlpha(notOpaque);
      return target;
    }
  }
  bool anyMasked = false;
  for (int y = 0; y < height; ++y) {
    uint8_t* line = target->getLine(y);
    for (int x = 0; x < width; ++x) {
      const bool masked = isMasked(x, y);
      line[4 * x + 3] = masked ? 0 : 255;
      anyMasked |= masked;
    }
  }
  target->setAlpha(anyMasked);
  return target;
}

thread::Owned<BufferedImageSet> IconImage::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(toBufferedImage(0, nullptr), getBitCount(), 0, 0);
  return set;
}

bool IconImage::write(io::IOutputStream& out) {
  if (getWidth() <= 0 || getHeight() <= 0) return false;
  if (getWidth() <= kMaxDibSide && getHeight() <= kMaxDibSide) return writeDib(out);
  thread::Owned<BufferedImage> picture(toBufferedImage(0, nullptr));
  thread::Owned<png::win::Png> png(png::win::Png::create());
  return png->fromBufferedImage(picture.get(), false, true, 255, 255, 255) && png->write(out);
}

bool IconImage::writeDib(io::IOutputStream& out) {
  io::ByteWriter header(bmp::kInfoHeaderBytes);
  header.u32(bmp::kInfoHeaderBytes);
  header.u32(static_cast<uint32_t>(info_.width));
  header.u32(static_cast<uint32_t>(info_.height) * 2);  // colour rows and mask rows
  header.u16(1);                                         // planes
  header.u16(info_.bitCount);
  header.u32(bmp::kCompressionNone);
  header.u32(info_.imageSize);
  header.u32(0);  // pixels per metre, x and y
  header.u32(0);
  header.u32(info_.colorsUsed);
  header.u32(info_.colorsImportant);
  bool ok = io::Streams::writeFully(out, header.data(), header.size());
  if (getPaletteSize() != 0) ok = io::Streams::writeFully(out, raster_->getPalette(), getPaletteSize()) && ok;
  const size_t colourBytes = static_cast<size_t>(getStride()) * static_cast<size_t>(getHeight());
  ok = io::Streams::writeFully(out, raster_->getBits(), colourBytes) && ok;
  ok = io::Streams::writeFully(out, mask_.data(), mask_.size()) && ok;
  return ok;
}

bool IconImage::ensureEncoded() {
  if (encoded_->getCount() != 0) return true;
  const bool ok = write(*encoded_);
  encoded_->rewind();
  return ok;
}

}  // namespace s::image::ico::win
