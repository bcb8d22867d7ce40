#include <sys/mman.h>

#include "s/image/bmp/win/RasterMemory.h"

namespace s::image::bmp::win {

namespace {

// Reserved for every large block: the system gives pages only as they are touched
// (64-bit address space only).
constexpr size_t kRoomyBlock = sizeof(void*) >= 8 ? size_t{256} << 20 : 0;

void* mapAnonymous(size_t bytes, int flags) {
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  // Large pages where the system offers them: fewer faults for a photograph.
  (void)madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return memory;
}

}  // namespace

namespace pixel_blocks {

void* reserve(size_t bytes, size_t* reserved) {
  if (bytes < kRoomyBlock) {
    if (void* memory = mapAnonymous(kRoomyBlock, MAP_NORESERVE)) {
      *reserved = kRoomyBlock;
      return memory;
    }
  }
  // A system that refuses the roomy size (strict overcommit) may still grant the
  // exact one.
  *reserved = bytes;
  return mapAnonymous(bytes, 0);
}

bool commit(void*, size_t) { return true; }  // mapped pages are usable as they are

void release(void* block, size_t reserved) { munmap(block, reserved); }

}  // namespace pixel_blocks

BitmapHandle RasterMemory::section(const uint8_t*, size_t) { return nullptr; }

void RasterMemory::setColorTable(const uint32_t*, int) {}

void RasterMemory::destroySection() {}

int64_t RasterMemory::sectionsMade() { return 0; }

int64_t RasterMemory::sectionsAlive() { return 0; }

}  // namespace s::image::bmp::win
