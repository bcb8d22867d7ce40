#pragma once
// Helpers for the GIF codec tests: LZW data for hand-built files, decoding from
// bytes, and pixels as 0xAARRGGBB words (top row first).
#include <cstdint>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/gif/win/GifLzw.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace gif_fixtures {

using s::image::gif::win::Gif;
using s::image::win::BufferedImage;
using s::thread::Owned;

// The minimum code size byte is not included: the data sub-blocks and the
// terminator the coder writes for width x height indices (row by row).
inline std::vector<uint8_t> lzwBlocks(int codeSize, const std::vector<uint8_t>& indices, int width, int height) {
  Owned<s::image::gif::win::GifLzw> lzw(s::image::gif::win::GifLzw::create());
  testing_streams::MemoryOutputStream out;
  s::image::gif::win::GifLzwSource source{indices.data(), width, width, height};
  (void)lzw->encode(codeSize, source, out);
  return out.data;
}

struct ReadResult {
  Owned<Gif> gif;
  bool ok = false;
};

inline ReadResult decode(const std::vector<uint8_t>& bytes) {
  ReadResult result;
  result.gif.reset(Gif::create());
  testing_streams::MemoryInputStream in(bytes);
  result.ok = result.gif->read(in);
  return result;
}

inline uint32_t pixelAt(const BufferedImage* image, int x, int y) {
  const uint8_t* p = image->getLine(y) + 4 * x;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline std::vector<uint32_t> pixels(const BufferedImage* image) {
  std::vector<uint32_t> all;
  for (int y = 0; y < image->getHeight(); ++y)
    for (int x = 0; x < image->getWidth(); ++x) all.push_back(pixelAt(image, x, y));
  return all;
}

// Index x of frame row y.
inline int indexAt(const Gif* gif, int frame, int x, int y) { return gif->getFrameRaster(frame)->getRow(y)[x]; }

// A picture whose pixels are given as 0xAARRGGBB words, row by row; the alpha flag is
// set when any pixel is not opaque.
inline Owned<BufferedImage> picture(int width, int height, const std::vector<uint32_t>& argb) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  bool alpha = false;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t v = argb[static_cast<size_t>(y * width + x)];
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(v);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v >> 16);
      p[3] = static_cast<uint8_t>(v >> 24);
      alpha |= p[3] != 255;
    }
  image->setAlpha(alpha);
  return image;
}

}  // namespace gif_fixtures
