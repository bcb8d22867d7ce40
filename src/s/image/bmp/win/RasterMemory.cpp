#include "s/image/bmp/win/RasterMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace s::image::bmp::win {

namespace {

// Smaller rasters (small copies, icons, frames of small animations) come from the
// heap.
constexpr size_t kMappedFrom = size_t{4} << 20;
constexpr int kKeptBlocks = 3;
constexpr size_t kMaxKeptBytes = size_t{1} << 30;

class KeptBlocks {
 public:
  // The smallest kept block of at least bytes, or none. *reserved is the block's
  // whole size.
  void* take(size_t bytes, size_t* reserved) {
    std::lock_guard<std::mutex> lock(mutex_);
    int best = -1;
    for (int i = 0; i < count_; ++i)
      if (blocks_[i].bytes >= bytes && (best < 0 || blocks_[i].bytes < blocks_[best].bytes)) best = i;
    if (best < 0) return nullptr;
    *reserved = blocks_[best].bytes;
    return remove(best);
  }

  // Keeps the block, giving smaller kept ones back to the system to make room;
  // a block smaller than every kept one goes back itself when the store is full.
  void give(void* memory, size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    Block evicted[kKeptBlocks];
    int evictedCount = 0;
    while (count_ > 0 && (count_ == kKeptBlocks || keptBytes_ + bytes > kMaxKeptBytes)) {
      const int smallest = smallestIndex();
      if (blocks_[smallest].bytes >= bytes) break;
      evicted[evictedCount].bytes = blocks_[smallest].bytes;
      evicted[evictedCount++].memory = remove(smallest);
    }
    const bool kept = count_ < kKeptBlocks && keptBytes_ + bytes <= kMaxKeptBytes;
    if (kept) {
      blocks_[count_++] = {memory, bytes};
      keptBytes_ += bytes;
    }
    lock.unlock();
    for (int i = 0; i < evictedCount; ++i) pixel_blocks::release(evicted[i].memory, evicted[i].bytes);
    if (!kept) pixel_blocks::release(memory, bytes);
  }

 private:
  struct Block {
    void* memory;
    size_t bytes;
  };

  int smallestIndex() const {
    int smallest = 0;
    for (int i = 1; i < count_; ++i)
      if (blocks_[i].bytes < blocks_[smallest].bytes) smallest = i;
    return smallest;
  }

  void* remove(int index) {
    void* memory = blocks_[index].memory;
    keptBytes_ -= blocks_[index].bytes;
    blocks_[index] = blocks_[--count_];
    return memory;
  }

  std::mutex mutex_;
  Block blocks_[kKeptBlocks] = {};
  int count_ = 0;
  size_t keptBytes_ = 0;
};

// Never destroyed: rasters may be freed by other statics' destructors at exit.
KeptBlocks& keptBlocks() {
  static KeptBlocks* blocks = new KeptBlocks;
  return *blocks;
}

}  // namespace

bool RasterMemory::create(size_t pixelBytes, bool zeroed) {
  destroy();
  const size_t bytes = pixelBytes ? pixelBytes : 1;
  if (bytes >= kMappedFrom) {
    size_t reserved = 0;
    void* memory = keptBlocks().take(bytes, &reserved);
    const bool reused = memory != nullptr;
    if (!reused) memory = pixel_blocks::reserve(bytes, &reserved);
    if (!memory) return false;
    if (!pixel_blocks::commit(memory, bytes)) {
      keptBlocks().give(memory, reserved);
      return false;
    }
    // Fresh blocks come zeroed from the system.
    if (reused && zeroed) std::memset(memory, 0, bytes);
    bits_ = static_cast<uint8_t*>(memory);
    mappedBytes_ = reserved;
  } else {
    void* memory = zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (!memory) return false;
    bits_ = static_cast<uint8_t*>(memory);
  }
  pixelBytes_ = bytes;
  return true;
}

void RasterMemory::releasePlain() {
  if (!bits_) return;
  if (mappedBytes_) {
    keptBlocks().give(bits_, mappedBytes_);
  } else {
    std::free(bits_);
  }
  bits_ = nullptr;
  mappedBytes_ = 0;
}

void RasterMemory::destroy() {
  if (handle_) {
    destroySection();  // the pixels are the section's
    bits_ = nullptr;
  } else {
    releasePlain();
  }
  handle_ = nullptr;
  pixelBytes_ = 0;
}

}  // namespace s::image::bmp::win
