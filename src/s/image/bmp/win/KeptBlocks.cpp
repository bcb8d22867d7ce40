#include "s/image/bmp/win/KeptBlocks.h"

namespace s::image::bmp::win {

KeptBlocks::~KeptBlocks() {
  for (Slot& slot : slots_) {
    if (slot.state.load(std::memory_order_acquire) == kFull) release_(slot.block, slot.bytes);
  }
}

bool KeptBlocks::claim(Slot& slot, State from) {
  uint8_t expected = from;
  return slot.state.compare_exchange_strong(expected, kClaimed, std::memory_order_acquire,
                                            std::memory_order_relaxed);
}

void* KeptBlocks::take(size_t bytes, size_t* blockBytes) {
  for (Slot& slot : slots_) {
    if (!claim(slot, kFull)) continue;
    if (slot.bytes < bytes) {
      slot.state.store(kFull, std::memory_order_release);
      continue;
    }
    void* block = slot.block;
    *blockBytes = slot.bytes;
    keptBytes_.fetch_sub(slot.bytes, std::memory_order_relaxed);
    slot.block = nullptr;
    slot.bytes = 0;
    slot.state.store(kEmpty, std::memory_order_release);
    return block;
  }
  return nullptr;
}

void KeptBlocks::give(void* block, size_t blockBytes) {
  if (keptBytes_.load(std::memory_order_relaxed) + blockBytes <= maxBytes_) {
    for (Slot& slot : slots_) {
      if (!claim(slot, kEmpty)) continue;
      slot.block = block;
      slot.bytes = blockBytes;
      keptBytes_.fetch_add(blockBytes, std::memory_order_relaxed);
      slot.state.store(kFull, std::memory_order_release);
      return;
    }
  }
  // No room: the block takes the place of a smaller one, which goes back instead.
  for (Slot& slot : slots_) {
    if (!claim(slot, kFull)) continue;
    const size_t keptOther = keptBytes_.load(std::memory_order_relaxed) - slot.bytes;
    if (slot.bytes >= blockBytes || keptOther + blockBytes > maxBytes_) {
      slot.state.store(kFull, std::memory_order_release);
      continue;
    }
    void* evicted = slot.block;
    const size_t evictedBytes = slot.bytes;
    slot.block = block;
    slot.bytes = blockBytes;
    keptBytes_.fetch_add(blockBytes - evictedBytes, std::memory_order_relaxed);
    slot.state.store(kFull, std::memory_order_release);
    release_(evicted, evictedBytes);
    return;
  }
  release_(block, blockBytes);
}

int KeptBlocks::count() const {
  int full = 0;
  for (const Slot& slot : slots_) full += slot.state.load(std::memory_order_acquire) == kFull ? 1 : 0;
  return full;
}

}  // namespace s::image::bmp::win
