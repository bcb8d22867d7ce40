// Building an icon image from a pixel image.
#include <cstring>

#include "s/col/_array/ArrayU08.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/filters/reduction/Quantizer.h"
#include "s/image/ico/win/IconImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::ico::win {

using image::win::BufferedImage;

namespace {

bool anyNotOpaque(const BufferedImage* image) {
  for (int y = 0; y < image->getHeight(); ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getWidth(); ++x)
      if (line[4 * x + 3] != 255) return true;
  }
  return false;
}

// A pixel the mask makes transparent: alpha 0 in a picture that has alpha.
bool isTransparent(const BufferedImage* image, const uint8_t* pixel) { return image->hasAlpha() && pixel[3] == 0; }

}  // namespace

bool IconImage::fromBufferedImage(BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                                  int blue) {
  encoded_->freeStorage();
  return build(image, bitCount, keepTransparency, red, green, blue);
}

bool IconImage::build(BufferedImage* image, int bitCount, bool keepTransparency, int red, int green, int blue) {
  clearImage();
  if (!image || image->getWidth() <= 0 || image->getHeight() <= 0) return false;
  const int width = image->getWidth();
  const int height = image->getHeight();
  thread::Owned<BufferedImage> prepared;
  BufferedImage* source = image;
  if (image->hasAlpha() && !keepTransparency) {
    prepared.reset(image->newImage(width, height));
    if (prepared->getWidth() != width || prepared->getHeight() != height) return false;
    BufferedImage::fill(prepared.get(), 255, red, green, blue);
    prepared->drawImage(0, 0, width, height, image, 0, 0, false);
    source = prepared.get();
  } else if (image->hasAlpha() && bitCount != 32) {
    // Depths without alpha keep transparency in the mask only: alpha below the
    // threshold is transparent, the rest opaque.
    prepared.reset(image->copyTo(nullptr));
    BufferedImage::thresholdAlpha(prepared.get(), kAlphaThreshold);
    source = prepared.get();
  } else if (!image->hasAlpha() && anyNotOpaque(image)) {
    // A picture without alpha is opaque whatever its fourth bytes hold.
    prepared.reset(image->copyTo(nullptr));
    BufferedImage::setOpaque(prepared.get());
    source = prepared.get();
  }
  if (!create(width, height, bitCount)) return false;
  writeColourRows(source, bitCount);
  if (source->hasAlpha()) {
    for (int y = 0; y < height; ++y) {
      const uint8_t* line = source->getLine(y);
      uint8_t* mask = getMaskRow(y);
      for (int x = 0; x < width; ++x)
        if (line[4 * x + 3] == 0) mask[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  }
  return true;
}

void IconImage::writeColourRows(BufferedImage* source, int bitCount) {
  const int width = source->getWidth();
  const int height = source->getHeight();
  switch (bitCount) {
    case 32:
      for (int y = 0; y < height; ++y) std::memcpy(getRow(y), source->getLine(y), static_cast<size_t>(width) * 4);
      return;
    case 24:
      // Transparent pixels stay black: the platform draws an icon as (screen AND
      // mask) XOR colour, and black leaves the screen as it is.
      for (int y = 0; y < height; ++y) {
        const uint8_t* from = source->getLine(y);
        uint8_t* to = getRow(y);
        for (int x = 0; x < width; ++x, from += 4, to += 3)
          if (!isTransparent(source, from)) std::memcpy(to, from, 3);
      }
      return;
    case 16:
      // 5-5-5: red in bits 10-14, green 5-9, blue 0-4.
      for (int y = 0; y < height; ++y) {
        const uint8_t* from = source->getLine(y);
        uint8_t* to = getRow(y);
        for (int x = 0; x < width; ++x, from += 4, to += 2) {
          if (isTransparent(source, from)) continue;
          const uint16_t packed = static_cast<uint16_t>(((from[2] >> 3) << 10) | ((from[1] >> 3) << 5) | (from[0] >> 3));
          to[0] = static_cast<uint8_t>(packed);
          to[1] = static_cast<uint8_t>(packed >> 8);
        }
      }
      return;
    default:
      writeIndexedRows(source, bitCount);
      return;
  }
}

void IconImage::writeIndexedRows(BufferedImage* source, int bitCount) {
  const int width = source->getWidth();
  const int height = source->getHeight();
  // 4 and 8 bits: 2^B - 1 colours, the last index (black) for transparent pixels.
  // 1 bit: both entries are colours (one colour and black would flatten a two-colour
  // icon); transparent pixels take the darker entry, the mask makes them transparent.
  const int colours = bitCount == 1 ? 2 : (1 << bitCount) - 1;
  thread::Owned<filters::reduction::Quantizer> quantizer = thread::make<filters::reduction::Quantizer>();
  quantizer->buildPalette(source->view(), colours);
  uint32_t* table = raster_->getPalette();
  quantizer->writePaletteQuads(reinterpret_cast<uint8_t*>(table), quantizer->getColourCount());
  for (int y = 0; y < height; ++y) quantizer->mapRow(source->getLine(y), width, getRow(y), bitCount);
  if (bitCount == 1 && source->hasAlpha()) {
    auto brightness = [](uint32_t entry) { return (entry & 0xFF) + ((entry >> 8) & 0xFF) + ((entry >> 16) & 0xFF); };
    const int darker = brightness(table[1]) < brightness(table[0]) ? 1 : 0;
    for (int y = 0; y < height; ++y) {
      const uint8_t* line = source->getLine(y);
      uint8_t* row = getRow(y);
      for (int x = 0; x < width; ++x) {
        if (line[4 * x + 3] != 0) continue;
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(darker ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      }
    }
  }
  raster_->syncColorTable();
}

}  // namespace s::image::ico::win
