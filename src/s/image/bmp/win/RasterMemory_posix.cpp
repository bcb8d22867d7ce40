#include <unistd.h>

#include <cstdlib>

#include "s/image/bmp/win/RasterMemory.h"

namespace s::image::bmp::win {

uint8_t* RasterMemory::allocatePixels(size_t bytes, bool zeroed, size_t* blockBytes) {
  *blockBytes = 0;
  return static_cast<uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
}

void RasterMemory::freePixels(uint8_t* bits, size_t) { std::free(bits); }

BitmapHandle RasterMemory::section(const uint8_t*, size_t) { return nullptr; }

void RasterMemory::setColorTable(const uint32_t*, int) {}

void RasterMemory::destroySection() {}

int64_t RasterMemory::sectionsMade() { return 0; }

int64_t RasterMemory::sectionsAlive() { return 0; }

uint64_t RasterMemory::physicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

}  // namespace s::image::bmp::win
