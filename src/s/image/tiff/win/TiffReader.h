#pragma once
// Decodes the first page of a TIFF file held in memory through libtiff, opened over
// the bytes with the codec's own client functions (reads and the memory map come
// from the buffer; nothing is written), after TiffDirectories has checked the
// directory chain.
#include <cstddef>
#include <cstdint>

#include "s/image/tiff/TiffDirectories.h"

namespace s::image::tiff::win {

class Tiff;

enum class [[nodiscard]] TiffReadStatus : uint8_t {
  kDecoded,
  // The caller's limits.
  kPictureTooLarge,  // more pixels than the limit
  kBufferTooLarge,   // a strip or tile would need more than TiffReader::kMaxBufferBytes
  // Damage or refusal.
  kStructure,         // the directory chain failed a check (see TiffReader::check)
  kOpenFailed,        // libtiff could not read the first directory
  kUnsupported,       // samples or a photometric interpretation no path reads
  kDecodeFailed,      // a strip or tile could not be decoded, or an uncompressed
                      // page's data is shorter than the picture
  kRasterRefused,     // the memory for the raster could not be had
};

class TiffReader {
 public:
  // The largest decoded strip or tile (and libtiff's largest single allocation).
  static constexpr int64_t kMaxBufferBytes = int64_t{256} << 20;

  TiffReader(Tiff& tiff, int64_t maxPixels);

  TiffReadStatus read(const uint8_t* data, size_t size);
  TiffCheck check() const { return check_; }

 private:
  Tiff& tiff_;
  int64_t maxPixels_;
  TiffCheck check_ = TiffCheck::kOk;
};

}  // namespace s::image::tiff::win
