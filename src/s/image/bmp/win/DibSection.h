#pragma once
// The memory behind a raster. On Windows it is a device-independent bitmap section,
// so that the pixels can be drawn without conversion; elsewhere plain memory with
// the same layout and no handle. The section owns the pixel memory.
#include <cstddef>
#include <cstdint>

#include "s/image/PlatformHandles.h"

namespace s::image::bmp::win {

class DibSection {
 public:
  DibSection() = default;
  ~DibSection() { destroy(); }
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  // bitmapInfo is a 40-byte information header followed by its colour table
  // (infoBytes in all). pixelBytes of memory are allocated, zeroed when asked.
  // False when the memory or the platform object was refused.
  bool create(const uint8_t* bitmapInfo, size_t infoBytes, size_t pixelBytes, bool zeroed);
  void destroy();
  // Tells the platform object about a changed colour table (entries blue, green,
  // red, 0). Pixel conversions never depend on it; only platform drawing does.
  void setColorTable(const uint32_t* entries, int count);

  uint8_t* bits() const { return bits_; }
  BitmapHandle handle() const { return handle_; }

 private:
  // Plain heap memory, with no platform object: pixelBytes (at least 1), zeroed
  // when asked. False when refused.
  bool allocatePlain(size_t pixelBytes, bool zeroed);

  BitmapHandle handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  bool ownsMemory_ = false;  // plain memory (no platform object) to free
  size_t mappedBytes_ = 0;   // plain memory mapped from the system rather than the heap
};

}  // namespace s::image::bmp::win
