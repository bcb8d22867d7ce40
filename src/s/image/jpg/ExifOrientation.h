#pragma once
// The orientation a camera records in a JPEG's APP1 Exif block, and how it turns
// the stored picture upright.
//
// The block is "Exif\0\0" followed by a TIFF structure: a byte-order mark ("II"
// little-endian, "MM" big-endian), the number 42, and the offset of the first image
// file directory (IFD0) from the start of the TIFF structure. IFD0 is a 16-bit
// entry count and 12-byte entries (tag, type, count, value); the orientation is tag
// 0x0112, one SHORT of 1 to 8. The block is hostile input: every offset is checked
// against the block's end before it is read, and anything out of place leaves the
// picture as stored (orientation 1).
#include <cstddef>
#include <cstdint>

namespace s::image::jpg {

class ExifOrientation {
 public:
  // Orientation 1: the stored picture is upright.
  static constexpr int kUpright = 1;

  // How the stored picture becomes upright. Stored pixel (x, y) of a W x H picture
  // goes to upright column x' = (mirror ? W - 1 - x : x) and row y' = (flip ? H - 1
  // - y : y); with transpose, to column y' and row x' instead (the upright picture
  // is then H x W).
  struct Layout {
    bool mirror = false;
    bool flip = false;
    bool transpose = false;
    bool isIdentity() const { return !mirror && !flip && !transpose; }
  };

  // The orientation (1-8) recorded in the payload of an APP1 segment (the bytes
  // after its length field); 1 when it is not an Exif block, holds no orientation
  // or is damaged.
  static int fromApp1(const uint8_t* payload, size_t size);
  // The same from the TIFF structure itself (the block without "Exif\0\0", as
  // other containers, such as WebP's EXIF chunk, hold it).
  static int fromTiff(const uint8_t* tiff, size_t size);

  // The layout that turns a picture of the given orientation upright; orientations
  // outside 2-8 give the identity.
  static Layout layoutOf(int orientation);
};

}  // namespace s::image::jpg
