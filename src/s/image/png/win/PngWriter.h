#pragma once
// Encoding a 32-bit Bitmap as an 8-bit RGBA PNG through libpng, writing with the
// codec's own output and flush functions. Compression and filters are libpng's
// defaults; no chunk besides IHDR, IDAT and IEND is written, except iCCP for a
// colour profile.
#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/io/IOutputStream.h"

namespace s::image::png::win {

class PngWriter {
 public:
  // False when the raster is empty or not 32-bit, when libpng failed, or when the
  // stream did not take every byte; the stream then holds an incomplete file.
  static bool encode(bmp::win::Bitmap& raster, bool interlace, const ColourProfile& profile, io::IOutputStream& out);
};

}  // namespace s::image::png::win
