#pragma once
// Decoding a JPEG stream into a 24-bit Bitmap through libjpeg, with the codec's own
// source manager over the input stream.
//
// Output pixels: colour files decode straight to blue, green, red; grayscale files
// repeat the sample in all three bytes; CMYK and YCCK files (stored inverted, 255 =
// no ink) become blue = y * k / 255, green = m * k / 255, red = c * k / 255,
// rounded down. Only 1, 3 or 4 output components are accepted. The rows are placed
// upright as the Exif orientation says (ExifOrientation).
#include <cstdint>

#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/io/IInputStream.h"

namespace s::image::jpg::win {

class JpegReader {
 public:
  // Bytes requested from the stream per refill.
  static constexpr size_t kBufferBytes = 4096;
  // Consecutive 0-byte answers (without failure) taken as the end of the data.
  static constexpr int kMaxEmptyReads = 16;
  // Progressive files re-decode coefficients per scan; hostile ones declare
  // thousands of scans.
  static constexpr int kMaxScans = 500;
  // The library's own working memory (coefficient buffers of progressive files,
  // for example) may not pass what the largest raster may take.
  static constexpr long kMaxLibraryMemory = INT32_MAX;

  // Replaces raster with the picture of in; maxPixels bounds width x height. True
  // when all rows were decoded; after a fatal error the raster keeps the rows
  // decoded so far (or stays empty when the error came before its creation).
  // With profile, the ICC profile of the APP2 segments is read into it (empty when
  // the file has none, or none that describes RGB pixels).
  static bool decode(io::IInputStream& in, bmp::win::Bitmap& raster, int64_t maxPixels,
                     ColourProfile* profile = nullptr);
};

}  // namespace s::image::jpg::win
