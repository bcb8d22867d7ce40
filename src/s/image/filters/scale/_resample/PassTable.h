#pragma once
// A contribution table rearranged for the vector filters. Each entry is classified
// once per pass so that the inner loops need no tests:
//   kCopy    one tap: the input pixel is copied (whatever its weight);
//   kPaired  every weight fits a signed 16-bit lane: taps are multiplied in pairs by
//            pmaddwd against blocks of eight 16-bit weights (w0 w1 w0 w1 w0 w1 w0 w1);
//   kWide    some weight needs 16 unsigned bits: taps are multiplied one at a time
//            with 16 x 16 -> 32-bit products;
//   kScalar  some weight is outside [0, 65535]: the reference loop handles it.
// All kinds compute the same 32-bit sums as the reference loop, so the results agree
// to the byte.
#include <cstddef>
#include <cstdint>

#include "s/image/filters/scale/Contribution.h"

namespace s::image::filters::scale::_resample {

enum class EntryKind : uint8_t { kCopy, kPaired, kWide, kScalar };

struct PassEntry {
  int32_t first = 0;
  int32_t count = 0;      // taps, last - first + 1
  size_t pairOffset = 0;  // kPaired: index of the entry's first block of eight int16
  EntryKind kind = EntryKind::kCopy;
};

class PassTable {
 public:
  PassTable() = default;
  ~PassTable();
  PassTable(const PassTable&) = delete;
  PassTable& operator=(const PassTable&) = delete;

  void build(const Contribution& table);

  const PassEntry& entry(int i) const { return entries_[i]; }
  // The weight blocks of a kPaired entry: ceil(count / 2) blocks of eight int16; the
  // second weight of the last block is 0 when count is odd.
  const int16_t* pairs(const PassEntry& e) const { return pairs_ + e.pairOffset * 8; }

 private:
  PassEntry* entries_ = nullptr;
  size_t entriesCapacity_ = 0;
  int16_t* pairs_ = nullptr;
  size_t pairsCapacity_ = 0;  // in blocks
};

}  // namespace s::image::filters::scale::_resample
