#pragma once
// The tables and loop of one LZW decode (see GifLzw.h for the contract). About 60 KB;
// GifLzw::decode keeps one on the stack for the duration of a call.
#include <cstddef>
#include <cstdint>

#include "s/image/gif/win/GifLzw.h"

namespace s::image::gif::win {

class GifLzwDecoder {
 public:
  [[nodiscard]] GifLzwDecodeResult decode(int minCodeSize, const uint8_t* data, size_t size,
                                          const GifLzwTarget& target);

 private:
  // One string of the table: its last byte, the code of the string without it, its
  // first byte and its length. A prefix is always a smaller code, so walking the
  // chain ends after exactly `length` steps.
  struct Entry {
    uint16_t prefix;
    uint16_t length;
    uint8_t suffix;
    uint8_t first;
  };

  // Where the next pixel goes: column x of frame row `row`, rows following `order`.
  struct Cursor;

  static constexpr int kCodeLimit = GifLzw::kCodeLimit;

  void spellBackwards(int code, int clearCode, uint8_t* last) const;

  Entry table_[kCodeLimit];
  // For a string of two or more bytes: an earlier copy of it in the frame, written
  // within one row, or nullptr when it was split across rows. Strings are copied from
  // there instead of being spelled out along the chain.
  const uint8_t* copyFrom_[kCodeLimit];
  // A string that does not fit the rest of the current row is spelled out here first.
  // No string is longer than kCodeLimit bytes.
  uint8_t spelled_[kCodeLimit];
};

}  // namespace s::image::gif::win
