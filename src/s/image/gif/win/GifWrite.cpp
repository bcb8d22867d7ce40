// Reading and writing GIF files.
#include <algorithm>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/gif/win/GifReader.h"
#include "s/io/ByteWriter.h"
#include "s/image/gif/win/GifBlocks.h"
#include "s/io/Streams.h"

namespace s::image::gif::win {

namespace {

// Delays are stored in hundredths of a second, 16 bits.
constexpr int kMaxStoredDelay = 0xFFFF;

// The blocks around the image data gather in memory and go to the stream before
// each frame's image data (which the LZW coder writes in its own sub-blocks) and
// after the trailer.
bool flush(io::ByteWriter& pending, io::IOutputStream& out) {
  const bool ok = io::Streams::writeFully(out, pending.data(), pending.size());
  pending.clear();
  return ok;
}

}  // namespace

bool Gif::read(io::IInputStream& in) { return readLimited(in, kMaxTotalPixels); }

bool Gif::readLimited(io::IInputStream& in, uint64_t maxTotalPixels) {
  reset();
  GifReader reader(in, *this, maxTotalPixels);
  return reader.read() == GifReadStatus::kTrailer;
}

bool Gif::write(io::IOutputStream& out) {
  io::ByteWriter writer;
  const bool anyFrame = !frames_.empty();
  // "GIF89a" whenever there is an image (graphic control blocks are always written).
  writer.bytes(anyFrame || hasTransparency() ? "GIF89a" : "GIF87a", 6);

  // Logical screen: frame 0's size, no global colour table (bit 7 clear), the
  // colour resolution and table-size fields both (bit count - 1): 0x77 at 8 bits.
  const int bitCount = getBitCount();
  const int depthField = bitCount >= 1 && bitCount <= 8 ? bitCount - 1 : 0;
  writer.u16(getWidth());
  writer.u16(getHeight());
  writer.u8(depthField | (depthField << 4));
  writer.u8(0);  // background colour index
  writer.u8(0);  // pixel aspect ratio

  if (anyFrame) {
    // Application extension: NETSCAPE2.0 with the loop count.
    static const uint8_t kNetscape[] = {kExtensionIntroducer, kApplicationLabel, 0x0B, 'N', 'E', 'T', 'S', 'C',
                                        'A',  'P',  'E',  '2', '.', '0', 0x03, 0x01};
    writer.bytes(kNetscape, sizeof(kNetscape));
    writer.u16(loopCount_);
    writer.u8(0);  // terminator
  }

  for (const GifFrame& frame : frames_) {
    bmp::win::Bitmap* raster = frame.raster.get();
    // Graphic control extension.
    writer.u8(kExtensionIntroducer);
    writer.u8(kGraphicControlLabel);
    writer.u8(4);  // block size
    writer.u8((frame.transparentIndex != -1 ? 1 : 0) | ((frame.disposal & 7) << 2));
    writer.u16(std::clamp(frame.delay / 10, 0, kMaxStoredDelay));  // toward zero: 95 ms -> 9
    writer.u8(frame.transparentIndex & 0xFF);  // 0xFF for none
    writer.u8(0);  // terminator

    // Image descriptor at (0, 0) with a local colour table, not interlaced.
    const int frameBits = raster->getBitCount();
    writer.u8(kImageSeparator);
    writer.u16(0);
    writer.u16(0);
    writer.u16(raster->getWidth());
    writer.u16(raster->getHeight());
    writer.u8(0x80 | (frameBits - 1));

    // Local colour table: red, green, blue per entry (768 bytes at 8 bits).
    const int entries = std::min(raster->getPaletteCount(), 256);
    const uint32_t* palette = raster->getPalette();
    uint8_t rgb[3 * 256];
    for (int i = 0; i < entries; ++i) {
      rgb[3 * i] = static_cast<uint8_t>(palette[i] >> 16);
      rgb[3 * i + 1] = static_cast<uint8_t>(palette[i] >> 8);
      rgb[3 * i + 2] = static_cast<uint8_t>(palette[i]);
    }
    writer.bytes(rgb, static_cast<size_t>(3 * entries));

    const int codeSize = frameBits <= 1 ? 2 : frameBits;
    writer.u8(codeSize);
    if (!flush(writer, out)) return false;
    GifLzwSource source;
    // The raster is bottom-up: rows from the top go downwards in memory.
    source.topRow = raster->getRow(0);
    source.rowStride = -static_cast<ptrdiff_t>(raster->getStride());
    source.width = raster->getWidth();
    source.height = raster->getHeight();
    // The coder writes the data sub-blocks and their terminator.
    if (lzw_.encode(codeSize, source, out) != GifLzwEncodeStatus::kOk) return false;
  }
  writer.u8(kTrailer);
  return flush(writer, out);
}

}  // namespace s::image::gif::win
