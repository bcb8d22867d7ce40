#pragma once
// Decoding a PNG stream into a 32-bit Bitmap (blue, green, red, alpha) through
// libpng, reading the stream with the codec's own input function.
//
// Every colour type and depth becomes 8-bit RGBA: 16-bit samples are scaled to 8
// bits (rounded), 1/2/4-bit samples unpacked, palettes expanded, a tRNS chunk
// becomes alpha, gray becomes RGB, and alpha 255 is added where the file has none.
#include <cstdint>

#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/io/IInputStream.h"

namespace s::image::png::win {

class PngReader {
 public:
  // Replaces raster with the picture of in; maxPixels bounds width x height. True
  // when every row was decoded; after an error the raster keeps the rows decoded
  // so far (or stays empty when the error came before its creation). With
  // profile, the iCCP chunk's ICC profile is read into it (empty when there is
  // none, or none that describes RGB pixels).
  static bool decode(io::IInputStream& in, bmp::win::Bitmap& raster, int64_t maxPixels,
                     ColourProfile* profile = nullptr);
};

}  // namespace s::image::png::win
