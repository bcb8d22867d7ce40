// Palette depths of the BMP encoder: 1, 4 and 8 bits through the octree quantizer.
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/filters/reduction/Quantizer.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {

using image::win::BufferedImage;

bool Bitmap::encodeIndexed(BufferedImage* source, int bitCount) {
  if (bitCount != 1 && bitCount != 4 && bitCount != 8) return true;  // the raster stays zero
  const int width = source->getWidth();
  const int height = source->getHeight();
  // The quantizer gives pixels that are not fully opaque an index past the
  // palette, which 1 or 4 bits cannot hold. The source is opaque after
  // flattening; a picture whose flag understated its alpha is made opaque in a copy.
  thread::Owned<BufferedImage> opaque;
  for (int y = 0; y < height && !opaque; ++y) {
    const uint8_t* line = source->getLine(y);
    for (int x = 0; x < width; ++x) {
      if (line[4 * x + 3] != 255) {
        opaque.reset(source->copyTo(nullptr));
        BufferedImage::setOpaque(opaque.get());
        source = opaque.get();
        break;
      }
    }
  }
  thread::Owned<filters::reduction::Quantizer> quantizer = thread::make<filters::reduction::Quantizer>();
  quantizer->buildPalette(source->view(), 1 << bitCount);
  // The header keeps declaring 2^bitCount colours; entries the quantizer did not
  // fill stay 0.
  quantizer->writePaletteQuads(reinterpret_cast<uint8_t*>(colorTable_), quantizer->getColourCount());
  for (int y = 0; y < height; ++y) quantizer->mapRow(source->getLine(y), width, getRow(y), bitCount);
  syncColorTable();
  return true;
}

}  // namespace s::image::bmp::win
