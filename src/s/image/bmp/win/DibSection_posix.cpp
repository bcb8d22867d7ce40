#include <cstdlib>

#include "s/image/bmp/win/DibSection.h"

namespace s::image::bmp::win {

bool DibSection::create(const uint8_t*, size_t, size_t pixelBytes, bool zeroed) {
  destroy();
  // A decoder may ask for up to 2 GiB for a picture a file declares; a refusal is
  // an ordinary decoding failure here, not the fatal out-of-memory path.
  void* memory = zeroed ? std::calloc(pixelBytes ? pixelBytes : 1, 1) : std::malloc(pixelBytes ? pixelBytes : 1);
  if (!memory) return false;
  bits_ = static_cast<uint8_t*>(memory);
  ownsMemory_ = true;
  return true;
}

void DibSection::destroy() {
  if (ownsMemory_) std::free(bits_);
  bits_ = nullptr;
  handle_ = nullptr;
  ownsMemory_ = false;
}

void DibSection::setColorTable(const uint32_t*, int) {}

}  // namespace s::image::bmp::win
