#include <windows.h>

#include <atomic>
#include <cstring>

#include "s/image/bmp/win/RasterMemory.h"

namespace s::image::bmp::win {

namespace {

// Reserved for every large block; only the committed part costs memory (64-bit
// address space only).
constexpr size_t kRoomyBlock = sizeof(void*) >= 8 ? size_t{256} << 20 : 0;

std::atomic<int64_t> sectionsMadeCount{0};
std::atomic<int64_t> sectionsAliveCount{0};

}  // namespace

namespace pixel_blocks {

void* reserve(size_t bytes, size_t* reserved) {
  if (bytes < kRoomyBlock) {
    if (void* memory = VirtualAlloc(nullptr, kRoomyBlock, MEM_RESERVE, PAGE_READWRITE)) {
      *reserved = kRoomyBlock;
      return memory;
    }
  }
  *reserved = bytes;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_READWRITE);
}

bool commit(void* block, size_t bytes) {
  // Committing pages that are already committed keeps their content.
  return VirtualAlloc(block, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void release(void* block, size_t) { VirtualFree(block, 0, MEM_RELEASE); }

}  // namespace pixel_blocks

BitmapHandle RasterMemory::section(const uint8_t* bitmapInfo, size_t infoBytes) {
  if (handle_ || !bits_) return handle_;
  // BITMAPINFO holds a header and a colour table of variable length; copy it into
  // an aligned block large enough for 256 entries.
  alignas(BITMAPINFO) uint8_t info[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
  std::memcpy(info, bitmapInfo, infoBytes < sizeof(info) ? infoBytes : sizeof(info));
  void* sectionBits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS, &sectionBits,
                                     nullptr, 0);
  if (!section || !sectionBits) {
    // GDI refuses some layouts it cannot draw (unusual bit-field masks): the
    // pixels stay plain and the raster is not drawn.
    if (section) DeleteObject(section);
    return nullptr;
  }
  ++sectionsMadeCount;
  ++sectionsAliveCount;
  std::memcpy(sectionBits, bits_, pixelBytes_);
  releasePlain();
  bits_ = static_cast<uint8_t*>(sectionBits);
  handle_ = section;
  return handle_;
}

void RasterMemory::setColorTable(const uint32_t* entries, int count) {
  if (!handle_ || count <= 0) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(handle_));
  SetDIBColorTable(dc, 0, static_cast<UINT>(count), reinterpret_cast<const RGBQUAD*>(entries));
  SelectObject(dc, old);
  DeleteDC(dc);
}

void RasterMemory::destroySection() {
  DeleteObject(static_cast<HBITMAP>(handle_));
  --sectionsAliveCount;
}

int64_t RasterMemory::sectionsMade() { return sectionsMadeCount.load(); }

int64_t RasterMemory::sectionsAlive() { return sectionsAliveCount.load(); }

}  // namespace s::image::bmp::win
