#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "s/base/win/Scoped_win.h"
#include "s/image/bmp/win/KeptBlocks.h"
#include "s/image/bmp/win/RasterMemory.h"

namespace s::image::bmp::win {

namespace {

// Smaller rasters (small copies, icons, frames of small animations) come from the
// heap.
constexpr size_t kMappedFrom = size_t{4} << 20;
constexpr size_t kMaxKeptBytes = size_t{1} << 30;
// Reserved for every large block; only the committed part costs memory (64-bit
// address space only).
constexpr size_t kRoomyBlock = sizeof(void*) >= 8 ? size_t{256} << 20 : 0;

std::atomic<int64_t> sectionsMadeCount{0};
std::atomic<int64_t> sectionsAliveCount{0};

// At least bytes of address space (more when room is cheap); *reserved is the size
// taken.
void* reserveBlock(size_t bytes, size_t* reserved) {
  if (bytes < kRoomyBlock) {
    if (void* memory = VirtualAlloc(nullptr, kRoomyBlock, MEM_RESERVE, PAGE_READWRITE)) {
      *reserved = kRoomyBlock;
      return memory;
    }
  }
  *reserved = bytes;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_READWRITE);
}

// Makes the first bytes of a reserved block usable; committing pages that are
// already committed keeps their content.
bool commitBlock(void* block, size_t bytes) {
  return VirtualAlloc(block, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void releaseBlock(void* block, size_t) { VirtualFree(block, 0, MEM_RELEASE); }

// Never destroyed: rasters may be freed by other statics' destructors at exit.
KeptBlocks& keptBlocks() {
  static KeptBlocks* blocks = new KeptBlocks(releaseBlock, kMaxKeptBytes);
  return *blocks;
}

}  // namespace

uint8_t* RasterMemory::allocatePixels(size_t bytes, bool zeroed, size_t* blockBytes) {
  *blockBytes = 0;
  if (bytes < kMappedFrom) return static_cast<uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
  size_t reserved = 0;
  void* memory = keptBlocks().take(bytes, &reserved);
  const bool reused = memory != nullptr;
  if (!reused) memory = reserveBlock(bytes, &reserved);
  if (!memory) return nullptr;
  if (!commitBlock(memory, bytes)) {
    keptBlocks().give(memory, reserved);
    return nullptr;
  }
  // Fresh blocks come zeroed from the system.
  if (reused && zeroed) std::memset(memory, 0, bytes);
  *blockBytes = reserved;
  return static_cast<uint8_t*>(memory);
}

void RasterMemory::freePixels(uint8_t* bits, size_t blockBytes) {
  if (blockBytes) {
    keptBlocks().give(bits, blockBytes);
  } else {
    std::free(bits);
  }
}

uint64_t RasterMemory::physicalMemory() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return status.ullTotalPhys;
}

BitmapHandle RasterMemory::section(const uint8_t* bitmapInfo, size_t infoBytes) {
  if (handle_ || !bits_) return handle_;
  // BITMAPINFO holds a header and a colour table of variable length; copy it into
  // an aligned block large enough for 256 entries.
  alignas(BITMAPINFO) uint8_t info[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
  std::memcpy(info, bitmapInfo, infoBytes < sizeof(info) ? infoBytes : sizeof(info));
  void* sectionBits = nullptr;
  base::win::GdiObject<HBITMAP> section(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS, &sectionBits, nullptr, 0));
  if (!section || !sectionBits) {
    // GDI refuses some layouts it cannot draw (unusual bit-field masks): the
    // pixels stay plain and the raster is not drawn.
    return nullptr;
  }
  ++sectionsMadeCount;
  ++sectionsAliveCount;
  std::memcpy(sectionBits, bits_, pixelBytes_);
  releasePlain();
  bits_ = static_cast<uint8_t*>(sectionBits);
  handle_ = section.detach();
  return handle_;
}

void RasterMemory::setColorTable(const uint32_t* entries, int count) {
  if (!handle_ || count <= 0) return;
  const base::win::OwnedDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  const base::win::SelectedObject selected(dc.get(), static_cast<HBITMAP>(handle_));
  SetDIBColorTable(dc.get(), 0, static_cast<UINT>(count), reinterpret_cast<const RGBQUAD*>(entries));
}

void RasterMemory::destroySection() {
  DeleteObject(static_cast<HBITMAP>(handle_));
  --sectionsAliveCount;
}

int64_t RasterMemory::sectionsMade() { return sectionsMadeCount.load(); }

int64_t RasterMemory::sectionsAlive() { return sectionsAliveCount.load(); }

}  // namespace s::image::bmp::win
