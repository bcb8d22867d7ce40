#pragma once
// The memory behind a raster: plain memory on every system, so that decoding,
// scaling and encoding cost the same everywhere and a picture of thousands of
// frames holds no system object per frame.
//
// Photographs need tens of megabytes. Such blocks are mapped straight from the
// system, and the last few freed ones are kept for the next picture: a gallery
// decodes one photograph after another, and fresh memory costs a fault and a
// clearing for every page it touches. Blocks are reserved with room for a large
// photograph and used only as far as needed, so a later, larger picture in the
// same block touches just its extra pages.
//
// On Windows a device-independent bitmap section, which GDI can draw, is made only
// when a handle is asked for: the pixels then move into the section, so bits()
// changes and row pointers taken before are stale. Elsewhere there is no handle.
#include <cstddef>
#include <cstdint>

#include "s/image/PlatformHandles.h"

namespace s::image::bmp::win {

class RasterMemory {
 public:
  RasterMemory() = default;
  ~RasterMemory() { destroy(); }
  RasterMemory(const RasterMemory&) = delete;
  RasterMemory& operator=(const RasterMemory&) = delete;

  // pixelBytes of memory (at least 1), zeroed when asked. False when refused: a
  // decoder may ask for up to 2 GiB for a size a file declares, and a refusal is an
  // ordinary decoding failure, not the fatal out-of-memory path.
  bool create(size_t pixelBytes, bool zeroed);
  void destroy();

  uint8_t* bits() const { return bits_; }

  // The bitmap section holding the pixels, made on first use from bitmapInfo (a
  // 40-byte information header followed by its colour table, infoBytes in all).
  // Null when the platform has none or refused the layout; the pixels then stay
  // where they are.
  BitmapHandle section(const uint8_t* bitmapInfo, size_t infoBytes);
  BitmapHandle existingSection() const { return handle_; }
  // Tells an existing section about a changed colour table (entries blue, green,
  // red, 0). Pixel conversions never depend on it; only platform drawing does.
  void setColorTable(const uint32_t* entries, int count);

  // Sections made by this process so far, and those still alive.
  static int64_t sectionsMade();
  static int64_t sectionsAlive();

 private:
  void releasePlain();
  void destroySection();

  BitmapHandle handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  size_t pixelBytes_ = 0;
  size_t mappedBytes_ = 0;  // the reserved size of a block mapped from the system; 0 for heap memory
};

// Large blocks from the system: address space reserved with room to grow, made
// usable as far as a picture needs.
namespace pixel_blocks {
// At least bytes (more when room is cheap); *reserved is the size taken.
void* reserve(size_t bytes, size_t* reserved);
// Makes the first bytes of a reserved block usable.
bool commit(void* block, size_t bytes);
void release(void* block, size_t reserved);
}  // namespace pixel_blocks

}  // namespace s::image::bmp::win
