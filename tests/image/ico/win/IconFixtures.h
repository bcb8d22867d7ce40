#pragma once
// Pictures, icon files and DIB entries for the ICO codec tests.
#include <cstdint>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/ico/win/Icon.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/ico/win/IconImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace icon_fixtures {

using s::image::ico::win::Icon;
using s::image::ico::win::IconImage;
using s::image::win::BufferedImage;
using s::thread::Owned;

// A width x height picture whose pixels are pixel(x, y) as 0xAARRGGBB.
template <class Pixel>
Owned<BufferedImage> picture(int width, int height, Pixel pixel) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  bool alpha = false;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t value = pixel(x, y);
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value >> 16);
      p[3] = static_cast<uint8_t>(value >> 24);
      alpha |= (value >> 24) != 255;
    }
  image->setAlpha(alpha);
  return image;
}

// Pixel (x, y) of a pixel image as 0xAARRGGBB.
inline uint32_t at(const BufferedImage* image, int x, int y) {
  const uint8_t* p = image->getLine(y) + 4 * x;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline std::vector<uint8_t> written(Icon& icon) {
  testing_streams::MemoryOutputStream out;
  icon.write(out);
  return out.data;
}

inline Owned<Icon> readIcon(const std::vector<uint8_t>& bytes) {
  testing_streams::MemoryInputStream in(bytes);
  Owned<Icon> icon(Icon::create());
  icon->read(in);
  return icon;
}

// An icon image built from a picture at a depth, keeping transparency.
inline IconImage* iconImage(BufferedImage* image, int bitCount) {
  IconImage* result = IconImage::create();
  result->fromBufferedImage(image, bitCount, true, 255, 255, 255);
  return result;
}

// A DIB entry: the 40-byte header (height field as given), then `rest`.
inline std::vector<uint8_t> dib(int32_t width, int32_t heightField, uint16_t bitCount, uint32_t colorsUsed,
                                const std::vector<uint8_t>& rest, uint32_t headerSize = 40, uint16_t planes = 1) {
  testing_streams::ByteWriter w;
  w.u32(headerSize).s32(width).s32(heightField).u16(planes).u16(bitCount)  // size, width, height, planes, bits
      .u32(0).u32(0).u32(0).u32(0)                                         // compression, image size, resolution
      .u32(colorsUsed).u32(0);                                             // colours used, important
  if (headerSize > 40) w.zeros(headerSize - 40);
  return w.raw(rest).bytes;
}

// An icon file holding one entry with this data (directory bytes as given).
inline std::vector<uint8_t> oneEntryFile(const std::vector<uint8_t>& data, uint8_t width, uint8_t height,
                                         uint16_t bitCount) {
  testing_streams::ByteWriter w;
  w.u16(0).u16(1).u16(1)                                                   // reserved, type, count
      .u8(width).u8(height).u8(0).u8(0).u16(1).u16(bitCount)               // size, colours, planes, bits
      .u32(static_cast<uint32_t>(data.size())).u32(22);                    // data size, offset
  return w.raw(data).bytes;
}

}  // namespace icon_fixtures
