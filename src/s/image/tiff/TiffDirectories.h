#pragma once
// The chain of image file directories (pages) of a TIFF file, walked and checked
// before libtiff opens it.
//
// A classic TIFF starts with "II" (little-endian) or "MM" (big-endian), the number
// 42 and the 32-bit offset of the first directory; a directory is a 16-bit entry
// count, 12-byte entries and the 32-bit offset of the next directory (0 ends the
// chain). BigTIFF has the number 43, a byte size of 8, a reserved 0 and a 64-bit
// offset; its directories have a 64-bit count, 20-byte entries and a 64-bit next
// offset.
//
// The first directory must lie wholly within the file. The walk then counts the
// directories that do, and stops at the end of the chain, at a directory outside
// the file, at an offset seen before (a loop) or at kMaxPages.
#include <cstddef>
#include <cstdint>

namespace s::image::tiff {

enum class [[nodiscard]] TiffCheck : uint8_t {
  kOk,
  kTooManyPages,   // the limit: the chain goes on past kMaxPages (the count stops there)
  kNotTiff,        // no byte-order mark and number
  kBigTiffHeader,  // a BigTIFF header with another byte size or reserved field
  kFirstDirectory, // the first directory is missing or runs past the end of the file
};

class TiffDirectories {
 public:
  static constexpr int kMaxPages = 1 << 16;

  // The number of pages of the file (at least 1 when the answer is kOk or
  // kTooManyPages, else 0).
  static TiffCheck count(const uint8_t* data, size_t size, int* pages);
};

}  // namespace s::image::tiff
