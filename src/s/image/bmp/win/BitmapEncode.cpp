// Building a Bitmap from a pixel image (the BMP encoder's raster side).
#include <cstring>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {

using image::win::BufferedImage;

namespace {

// 5-5-5: red in bits 10-14, green 5-9, blue 0-4, each the top five bits.
uint16_t pack555(const uint8_t* bgra) {
  return static_cast<uint16_t>(((bgra[2] >> 3) << 10) | ((bgra[1] >> 3) << 5) | (bgra[0] >> 3));
}

}  // namespace

bool Bitmap::fromBufferedImage(BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                               int blue) {
  reset();
  if (!image || image->getWidth() <= 0 || image->getHeight() <= 0) return false;
  const int width = image->getWidth();
  const int height = image->getHeight();
  thread::Owned<BufferedImage> flattened;
  BufferedImage* source = image;
  if (image->hasAlpha()) {
    if (keepTransparency && bitCount == 32) {
      // Fully transparent pixels take the background colour (in the caller's
      // image too), so that viewers ignoring alpha show the background.
      for (int y = 0; y < height; ++y) {
        uint8_t* pixel = image->getLine(y);
        for (int x = 0; x < width; ++x, pixel += 4) {
          if (pixel[3] != 0) continue;
          pixel[0] = static_cast<uint8_t>(blue);
          pixel[1] = static_cast<uint8_t>(green);
          pixel[2] = static_cast<uint8_t>(red);
        }
      }
    } else {
      flattened.reset(image->newImage(width, height));
      if (flattened->getWidth() != width || flattened->getHeight() != height) return false;
      BufferedImage::fill(flattened.get(), 255, red, green, blue);
      flattened->drawImage(0, 0, width, height, image, 0, 0, false);
      source = flattened.get();
    }
  }
  if (!create(width, height, bitCount)) return false;

  switch (bitCount) {
    case 32:
      for (int y = 0; y < height; ++y) std::memcpy(getRow(y), source->getLine(y), static_cast<size_t>(width) * 4);
      return true;
    case 24:
      for (int y = 0; y < height; ++y) {
        const uint8_t* from = source->getLine(y);
        uint8_t* to = getRow(y);
        for (int x = 0; x < width; ++x) std::memcpy(to + 3 * x, from + 4 * x, 3);
      }
      return true;
    case 16:
      for (int y = 0; y < height; ++y) {
        const uint8_t* from = source->getLine(y);
        uint8_t* to = getRow(y);
        for (int x = 0; x < width; ++x) {
          const uint16_t packed = pack555(from + 4 * x);
          to[2 * x] = static_cast<uint8_t>(packed);
          to[2 * x + 1] = static_cast<uint8_t>(packed >> 8);
        }
      }
      return true;
    default:
      return encodeIndexed(source, bitCount);
  }
}

}  // namespace s::image::bmp::win
