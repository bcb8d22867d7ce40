#pragma once
// Decodes a WebP file held in memory into a Webp's frames through libwebp, after
// WebpChunks has checked its structure and the limits.
//
// A still decodes straight into its raster (blue, green, red, alpha, rows flipped
// to the raster's bottom-up order), or, when its EXIF orientation turns it, into
// a buffer whose rows are then placed upright. An animation is composed frame by
// frame by WebPAnimDecoder; each canvas is copied into a frame of its own.
#include <cstddef>
#include <cstdint>

#include "s/image/webp/WebpChunks.h"

namespace s::image::webp::win {

class Webp;

enum class [[nodiscard]] WebpReadStatus : uint8_t {
  kDecoded,
  // The caller's limits.
  kPictureTooLarge,  // more pixels than the picture limit
  kPixelBudget,      // an animation's frames would pass the budget
  // Damage or refusal.
  kStructure,      // the chunk structure failed a check (see WebpReader::check)
  kBitstream,      // libwebp refused the picture or a frame
  kRasterRefused,  // the memory for a raster could not be had
};

class WebpReader {
 public:
  WebpReader(Webp& webp, int64_t maxPixels, uint64_t maxTotalPixels);

  // Decodes the file's bytes into the (emptied) Webp.
  WebpReadStatus read(const uint8_t* data, size_t size);
  // What the structure check found.
  WebpCheck check() const { return check_; }

 private:
  WebpReadStatus readStill(const uint8_t* data, size_t size, const WebpLayout& layout);
  WebpReadStatus readAnimation(const uint8_t* data, size_t size, const WebpLayout& layout);

  Webp& webp_;
  int64_t maxPixels_;
  uint64_t maxTotalPixels_;
  WebpCheck check_ = WebpCheck::kOk;
};

}  // namespace s::image::webp::win
