#pragma once
// Decodes the primary image of a HEIF or AVIF file held in memory through libheif,
// after IsoBoxes has checked the file's structure.
//
// libheif is C++ and may throw (memory refused deep inside a codec): nothing it
// throws leaves the reader, which then answers kLibrary.
#include <cstddef>
#include <cstdint>

#include "s/image/heif/IsoBoxes.h"

namespace s::image::heif::win {

class Heif;

enum class [[nodiscard]] HeifReadStatus : uint8_t {
  kDecoded,
  // The caller's limit.
  kPictureTooLarge,  // the structure or the decoded picture passes the pixel limit
  // Damage or refusal.
  kStructure,      // the box structure failed a check (see HeifReader::check)
  kLibrary,        // libheif refused the file or the picture (or threw)
  kUnsupportedColour,  // colour coded in a way libheif would decode wrongly
  kUnexpectedImage,  // the decoded picture is not the 8-bit interleaved one asked for
  kRasterRefused,  // the memory for the raster could not be had
};

class HeifReader {
 public:
  HeifReader(Heif& heif, int64_t maxPixels);

  HeifReadStatus read(const uint8_t* data, size_t size);
  HeifCheck check() const { return check_; }

 private:
  HeifReadStatus decode(const uint8_t* data, size_t size, const HeifStructure& structure);

  Heif& heif_;
  int64_t maxPixels_;
  HeifCheck check_ = HeifCheck::kOk;
};

}  // namespace s::image::heif::win
