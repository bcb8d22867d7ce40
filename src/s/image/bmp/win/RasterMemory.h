#pragma once
// The memory behind a raster: plain memory on every system, so that decoding,
// scaling and encoding cost the same everywhere and a picture of thousands of
// frames holds no system object per frame.
//
// Photographs need tens of megabytes, and fresh memory costs a fault and a clearing
// for every page touched, for every picture; so freed memory is kept for the next
// picture. On Linux the pixels come from the C heap, which pictorva-cli tells to
// keep what is freed (see its main): the heap then serves the rasters and the
// decoders' own working memory (a progressive JPEG keeps every coefficient) from
// the same pages, instead of each keeping its own. On Windows large blocks are
// reserved from the system with room for a large photograph, used only as far as
// needed, and the last few freed ones are kept (KeptBlocks, shared by all threads
// without a lock).
//
// When the creating thread has a PixelBudget open (PixelBudget::Scope), the pixels
// are charged to it until the memory is destroyed, and creation may wait for room.
//
// On Windows a device-independent bitmap section, which GDI can draw, is made only
// when a handle is asked for: the pixels then move into the section, so bits()
// changes and row pointers taken before are stale. Elsewhere there is no handle.
#include <cstddef>
#include <cstdint>

#include "s/image/PlatformHandles.h"

namespace s::image::bmp::win {

class PixelBudget;

class RasterMemory {
 public:
  RasterMemory() = default;
  ~RasterMemory() { destroy(); }
  RasterMemory(const RasterMemory&) = delete;
  RasterMemory& operator=(const RasterMemory&) = delete;

  // pixelBytes of memory (at least 1), zeroed when asked. False when refused: a
  // decoder may ask for up to 2 GiB for a size a file declares, and a refusal is an
  // ordinary decoding failure, not the fatal out-of-memory path. A stopped budget
  // refuses too.
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

  // The machine's physical memory in bytes; 0 when it cannot be learned.
  static uint64_t physicalMemory();

 private:
  // The platform's plain memory (RasterMemory_posix.cpp, RasterMemory_win.cpp):
  // *blockBytes is what freePixels needs back (0 for heap memory).
  static uint8_t* allocatePixels(size_t bytes, bool zeroed, size_t* blockBytes);
  static void freePixels(uint8_t* bits, size_t blockBytes);

  void releasePlain();
  void destroySection();

  BitmapHandle handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  size_t pixelBytes_ = 0;
  size_t blockBytes_ = 0;
  PixelBudget* budget_ = nullptr;  // charged with pixelBytes_
};

}  // namespace s::image::bmp::win
