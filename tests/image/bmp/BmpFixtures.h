#pragma once
// Hand-built BMP files for reader tests: every header field is written explicitly.
#include <cstdint>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"

namespace bmp_fixtures {

struct Info {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;    // red, green, blue (, alpha)
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint8_t> pixels;    // rows exactly as stored in the file
  int32_t offsetGap = 0;          // bytes between the colour table and the pixels
};

inline std::vector<uint8_t> bmpFile(const Info& info) {
  testing_streams::ByteWriter header;
  if (info.headerSize == 12) {
    header.u32(12)                    // header size: OS/2 core header
        .u16(info.width)              // width (16 bits)
        .u16(info.height)             // height (16 bits)
        .u16(info.planes)             // planes
        .u16(info.bitCount);          // bits per pixel
  } else {
    header.u32(info.headerSize)       // header size
        .s32(info.width)              // width
        .s32(info.height)             // height; negative: rows stored top-down
        .u16(info.planes)             // planes
        .u16(info.bitCount)           // bits per pixel
        .u32(info.compression)        // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
        .u32(static_cast<uint32_t>(info.pixels.size()))  // image size
        .u32(2835).u32(2835)          // resolution, pixels per metre
        .u32(info.colorsUsed)         // colours used (0: all)
        .u32(0);                      // colours important
    if (info.headerSize >= 52) {
      for (size_t i = 0; i < 4 && 40 + 4 * i < info.headerSize; ++i)  // masks inside the header
        header.u32(i < info.masks.size() ? info.masks[i] : 0);
    }
    if (info.headerSize > header.bytes.size())
      header.zeros(info.headerSize - header.bytes.size());  // rest of V4/V5 headers
    if (info.headerSize == 40)
      for (uint32_t mask : info.masks) header.u32(mask);  // bit-field masks after the header
  }
  for (uint32_t colour : info.palette) {
    header.u8(colour).u8(colour >> 8).u8(colour >> 16);  // blue, green, red
    if (info.headerSize != 12) header.u8(0);             // reserved
  }
  header.zeros(static_cast<size_t>(info.offsetGap));
  const uint32_t offset = 14 + static_cast<uint32_t>(header.bytes.size());
  testing_streams::ByteWriter file;
  file.text("BM")                                                   // type
      .u32(offset + static_cast<uint32_t>(info.pixels.size()))      // file size
      .u16(0).u16(0)                                                // reserved
      .u32(offset)                                                  // pixel data offset
      .raw(header.bytes)
      .raw(info.pixels);
  return file.bytes;
}

// The decoded picture as 0xAARRGGBB words, top row first; empty when unreadable.
struct Decoded {
  bool readOk = false;
  int width = 0;
  int height = 0;
  int bitCount = 0;
  bool hasAlpha = false;
  std::vector<uint32_t> pixels;
};

inline Decoded decode(const std::vector<uint8_t>& bytes) {
  Decoded result;
  testing_streams::MemoryInputStream in(bytes);
  auto* bitmap = s::image::bmp::win::Bitmap::create();
  result.readOk = bitmap->read(in);
  result.bitCount = bitmap->getBitCount();
  s::image::win::BufferedImage* image = bitmap->toBufferedImage(0, nullptr);
  result.width = image->getWidth();
  result.height = image->getHeight();
  result.hasAlpha = image->hasAlpha();
  for (int y = 0; y < result.height; ++y) {
    const auto* line = image->getLine(y);
    for (int x = 0; x < result.width; ++x) {
      const uint8_t* p = line + 4 * x;
      result.pixels.push_back(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
    }
  }
  image->release();
  bitmap->release();
  return result;
}

}  // namespace bmp_fixtures
