#pragma once
// Error handling around libpng: errors return to the codec instead of ending the
// process, warnings are dropped, and every library phase runs under one guard.
//
// A library error longjmps back into runGuarded, which then answers false.
// longjmp skips destructors, so the guarded frame and the phase it runs own no
// object with one: C++ objects (rasters, streams) live in the callers outside.
#include <csetjmp>

#include <png.h>

namespace s::image::png::win {

class PngGuard {
 public:
  // Largest ancillary chunk libpng may allocate (decompressed text included).
  static constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;
  // Ancillary chunks kept per file (text, sPLT, unknown chunks).
  static constexpr png_uint_32 kMaxCachedChunks = 1000;

  // Error and warning functions for png_create_*_struct.
  [[noreturn]] static void onError(png_structp png, png_const_charp message);
  static void onWarning(png_structp png, png_const_charp message);
};

// Runs one library phase; false when libpng raised an error inside it.
template <class Phase>
bool runGuarded(png_structp png, Phase phase) {
  if (setjmp(png_jmpbuf(png))) return false;
  phase();
  return true;
}

}  // namespace s::image::png::win
