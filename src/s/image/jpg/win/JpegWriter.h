#pragma once
// Encoding a 24-bit Bitmap as a baseline colour JPEG through libjpeg, with the
// codec's own destination manager over the output stream.
#include <cstddef>

#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/io/IOutputStream.h"

namespace s::image::jpg::win {

class JpegWriter {
 public:
  static constexpr size_t kBufferBytes = 4096;

  // The library's defaults with the given quality (baseline forced). False when the
  // raster is empty or not 24-bit, when the library failed, or when the stream did
  // not take every byte; the stream then holds an incomplete file. A profile is
  // embedded in APP2 segments (none: no segment).
  static bool encode(bmp::win::Bitmap& raster, int quality, const ColourProfile& profile, io::IOutputStream& out);
};

}  // namespace s::image::jpg::win
