#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "s/image/bmp/win/DibSection.h"

namespace s::image::bmp::win {

namespace {

// Photographs need tens of megabytes. Such rasters are mapped straight from the
// system, with large pages where it offers them, and the last few freed ones are
// kept for the next picture: a gallery decodes one photograph after another, and
// a fresh mapping costs a fault and a clearing for every page it touches.
// Blocks are mapped with room for a large photograph: the system gives pages only
// as they are touched, so a later, larger picture in the same block touches just
// its extra pages, where a block of its own would be fresh throughout.
constexpr size_t kMappedFrom = size_t{4} << 20;
constexpr size_t kRoomyBlock = sizeof(void*) >= 8 ? size_t{256} << 20 : 0;  // 64-bit address space only
constexpr int kKeptBlocks = 3;
constexpr size_t kMaxKeptBytes = size_t{1} << 30;

void* mapAnonymous(size_t bytes, int flags) {
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  (void)madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return memory;
}

// At least bytes; *mapped is the size mapped. A system that refuses the roomy
// size (strict overcommit) may still grant the exact one.
void* mapPixels(size_t bytes, size_t* mapped) {
  if (bytes < kRoomyBlock) {
    if (void* memory = mapAnonymous(kRoomyBlock, MAP_NORESERVE)) {
      *mapped = kRoomyBlock;
      return memory;
    }
  }
  *mapped = bytes;
  return mapAnonymous(bytes, 0);
}

class KeptBlocks {
 public:
  // The smallest kept block of at least bytes, or none. *mapped is the block's
  // whole size.
  void* take(size_t bytes, size_t* mapped) {
    std::lock_guard<std::mutex> lock(mutex_);
    int best = -1;
    for (int i = 0; i < count_; ++i)
      if (blocks_[i].bytes >= bytes && (best < 0 || blocks_[i].bytes < blocks_[best].bytes)) best = i;
    if (best < 0) return nullptr;
    *mapped = blocks_[best].bytes;
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
    for (int i = 0; i < evictedCount; ++i) munmap(evicted[i].memory, evicted[i].bytes);
    if (!kept) munmap(memory, bytes);
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

bool DibSection::create(const uint8_t*, size_t, size_t pixelBytes, bool zeroed) {
  destroy();
  // A decoder may ask for up to 2 GiB for a picture a file declares; a refusal is
  // an ordinary decoding failure here, not the fatal out-of-memory path.
  if (pixelBytes >= kMappedFrom) {
    size_t mapped = 0;
    void* memory = keptBlocks().take(pixelBytes, &mapped);
    if (memory) {
      if (zeroed) std::memset(memory, 0, pixelBytes);
    } else {
      memory = mapPixels(pixelBytes, &mapped);
    }
    if (!memory) return false;
    bits_ = static_cast<uint8_t*>(memory);
    mappedBytes_ = mapped;
    ownsMemory_ = true;
    return true;
  }
  return allocatePlain(pixelBytes, zeroed);
}

void DibSection::destroy() {
  if (ownsMemory_) {
    if (mappedBytes_) {
      keptBlocks().give(bits_, mappedBytes_);
    } else {
      std::free(bits_);
    }
  }
  bits_ = nullptr;
  handle_ = nullptr;
  ownsMemory_ = false;
  mappedBytes_ = 0;
}

void DibSection::setColorTable(const uint32_t*, int) {}

}  // namespace s::image::bmp::win
