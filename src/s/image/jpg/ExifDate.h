#pragma once
// The day a photograph was taken, as a camera records it in a JPEG's APP1 Exif
// block: DateTimeOriginal (tag 0x9003, ASCII "YYYY:MM:DD HH:MM:SS" and a zero) in
// the Exif directory, which IFD0 points to with tag 0x8769.
//
// The block is hostile input, read as ExifOrientation reads it: every offset is
// checked against the block's end, and anything out of place (a directory past the
// end, a text of another length or type, digits that make no date) gives no date.
#include <cstddef>
#include <cstdint>
#include <string>

namespace s::image::jpg {

class ExifDate {
 public:
  // The bytes read from a file's start in search of its Exif block: an APP1
  // segment holds at most 64 KB, and the segments before it are few and small.
  static constexpr size_t kHeadBytes = 256 * 1024;

  // The date taken ("YYYY-MM-DD") of an APP1 payload (the bytes after its length
  // field); empty when there is none.
  static std::u16string fromApp1(const uint8_t* payload, size_t size);
  // The same for the first bytes of a JPEG file: its segments are walked up to the
  // first scan, and the first APP1 Exif block that carries a date gives it.
  static std::u16string fromJpegHead(const uint8_t* bytes, size_t size);
  // The same for the date's text in the block: 19 characters "YYYY:MM:DD HH:MM:SS"
  // (the time is not looked at beyond its form); empty when it is no real day.
  static std::u16string fromText(const uint8_t* text, size_t size);
};

}  // namespace s::image::jpg
