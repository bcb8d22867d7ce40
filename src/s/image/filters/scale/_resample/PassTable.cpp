#include "s/image/filters/scale/_resample/PassTable.h"

#include <cstdlib>

#include "s/base/Memory.h"

namespace s::image::filters::scale::_resample {

PassTable::~PassTable() {
  std::free(entries_);
  std::free(pairs_);
}

namespace {

EntryKind classify(const int32_t* weights, int count) {
  if (count == 1) return EntryKind::kCopy;
  EntryKind kind = EntryKind::kPaired;
  for (int k = 0; k < count; ++k) {
    if (weights[k] < 0 || weights[k] > 65535) return EntryKind::kScalar;
    if (weights[k] > 32767) kind = EntryKind::kWide;
  }
  return kind;
}

}  // namespace

void PassTable::build(const Contribution& table) {
  const int n = table.getEntryCount();
  if (static_cast<size_t>(n) > entriesCapacity_) {
    std::free(entries_);
    size_t bytes;
    if (!base::checkedMul(static_cast<size_t>(n), sizeof(PassEntry), &bytes)) base::dieOutOfMemory(SIZE_MAX);
    entries_ = static_cast<PassEntry*>(base::allocOrDie(bytes));
    entriesCapacity_ = static_cast<size_t>(n);
  }
  // First the entries and the number of weight blocks they need...
  size_t blocks = 0;
  for (int i = 0; i < n; ++i) {
    PassEntry& e = entries_[i];
    e.first = table.first(i);
    e.count = table.last(i) - e.first + 1;
    e.kind = classify(table.weights(i), e.count);
    e.pairOffset = blocks;
    if (e.kind == EntryKind::kPaired) blocks += static_cast<size_t>(e.count + 1) / 2;
  }
  if (blocks > pairsCapacity_) {
    std::free(pairs_);
    size_t bytes;
    if (!base::checkedMul(blocks, 8 * sizeof(int16_t), &bytes)) base::dieOutOfMemory(SIZE_MAX);
    pairs_ = static_cast<int16_t*>(base::allocOrDie(bytes));
    pairsCapacity_ = blocks;
  }
  // ...then the blocks themselves.
  for (int i = 0; i < n; ++i) {
    const PassEntry& e = entries_[i];
    if (e.kind != EntryKind::kPaired) continue;
    const int32_t* weights = table.weights(i);
    int16_t* block = pairs_ + e.pairOffset * 8;
    for (int k = 0; k < e.count; k += 2, block += 8) {
      int16_t even = static_cast<int16_t>(weights[k]);
      int16_t odd = k + 1 < e.count ? static_cast<int16_t>(weights[k + 1]) : 0;
      for (int lane = 0; lane < 8; lane += 2) {
        block[lane] = even;
        block[lane + 1] = odd;
      }
    }
  }
}

}  // namespace s::image::filters::scale::_resample
