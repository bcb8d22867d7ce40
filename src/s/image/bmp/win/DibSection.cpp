#include "s/image/bmp/win/DibSection.h"

#include <cstdlib>

namespace s::image::bmp::win {

bool DibSection::allocatePlain(size_t pixelBytes, bool zeroed) {
  const size_t bytes = pixelBytes ? pixelBytes : 1;
  void* memory = zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
  if (!memory) return false;
  bits_ = static_cast<uint8_t*>(memory);
  ownsMemory_ = true;
  return true;
}

}  // namespace s::image::bmp::win
