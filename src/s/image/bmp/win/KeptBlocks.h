#pragma once
// A few freed large memory blocks kept for the next pictures, shared by every thread
// without a lock.
//
// Each slot is claimed by one compare-and-swap before its fields are read or written,
// and published with a release store after, so no thread ever waits for another: a
// thread that finds a slot claimed simply passes it by. take() hands out the first
// kept block that is large enough (blocks are mostly reserved at one roomy size, so
// the first fit is as good as the best); give() keeps a block in a free slot, or in
// place of a smaller one, and gives back to the system what it does not keep.
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace s::image::bmp::win {

class KeptBlocks {
 public:
  // How a block goes back to the system; bytes is the size it was given with.
  using Release = void (*)(void* block, size_t bytes);
  static constexpr int kSlots = 3;

  // Keeps at most about maxBytes (one block more while threads race).
  KeptBlocks(Release release, size_t maxBytes) : release_(release), maxBytes_(maxBytes) {}
  // Gives back every kept block.
  ~KeptBlocks();
  KeptBlocks(const KeptBlocks&) = delete;
  KeptBlocks& operator=(const KeptBlocks&) = delete;

  // A kept block of at least bytes, or none; *blockBytes is its whole size.
  void* take(size_t bytes, size_t* blockBytes);
  // Keeps the block (of blockBytes) or releases it.
  void give(void* block, size_t blockBytes);

  // Blocks kept right now (for tests; exact only while no other thread works).
  int count() const;

 private:
  enum State : uint8_t { kEmpty, kClaimed, kFull };
  struct Slot {
    std::atomic<uint8_t> state{kEmpty};
    void* block = nullptr;  // read and written only by the thread that claimed the slot
    size_t bytes = 0;
  };

  // Claims the slot if it is in state from; the claimer later stores a new state.
  static bool claim(Slot& slot, State from);

  Release release_;
  size_t maxBytes_;
  std::atomic<size_t> keptBytes_{0};
  Slot slots_[kSlots];
};

}  // namespace s::image::bmp::win
