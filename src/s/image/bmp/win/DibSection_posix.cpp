#include <sys/mman.h>

#include <cstdlib>

#include "s/image/bmp/win/DibSection.h"

namespace s::image::bmp::win {

namespace {

// Photographs need tens of megabytes. Such rasters are mapped straight from the
// system: fresh pages are already zero, and large pages (where the system offers
// them) cut the cost of touching every page of a picture once.
constexpr size_t kMappedFrom = size_t{4} << 20;

void* mapPixels(size_t bytes) {
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  (void)madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return memory;
}

}  // namespace

bool DibSection::create(const uint8_t*, size_t, size_t pixelBytes, bool zeroed) {
  destroy();
  // A decoder may ask for up to 2 GiB for a picture a file declares; a refusal is
  // an ordinary decoding failure here, not the fatal out-of-memory path.
  if (pixelBytes >= kMappedFrom) {
    bits_ = static_cast<uint8_t*>(mapPixels(pixelBytes));
    if (!bits_) return false;
    mappedBytes_ = pixelBytes;
    ownsMemory_ = true;
    return true;
  }
  void* memory = zeroed ? std::calloc(pixelBytes ? pixelBytes : 1, 1) : std::malloc(pixelBytes ? pixelBytes : 1);
  if (!memory) return false;
  bits_ = static_cast<uint8_t*>(memory);
  ownsMemory_ = true;
  return true;
}

void DibSection::destroy() {
  if (ownsMemory_) {
    if (mappedBytes_) {
      munmap(bits_, mappedBytes_);
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
