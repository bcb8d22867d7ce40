#include "s/image/bmp/win/RasterMemory.h"

#include "s/image/bmp/win/PixelBudget.h"

namespace s::image::bmp::win {

bool RasterMemory::create(size_t pixelBytes, bool zeroed) {
  destroy();
  const size_t bytes = pixelBytes ? pixelBytes : 1;
  PixelBudget* budget = PixelBudget::current();
  if (budget && !budget->charge(bytes)) return false;
  size_t blockBytes = 0;
  uint8_t* memory = allocatePixels(bytes, zeroed, &blockBytes);
  if (!memory) {
    if (budget) budget->refund(bytes);
    return false;
  }
  bits_ = memory;
  blockBytes_ = blockBytes;
  pixelBytes_ = bytes;
  budget_ = budget;
  return true;
}

void RasterMemory::releasePlain() {
  if (!bits_) return;
  freePixels(bits_, blockBytes_);
  bits_ = nullptr;
  blockBytes_ = 0;
}

void RasterMemory::destroy() {
  if (handle_) {
    destroySection();  // the pixels are the section's
    bits_ = nullptr;
  } else {
    releasePlain();
  }
  handle_ = nullptr;
  if (budget_) budget_->refund(pixelBytes_);
  budget_ = nullptr;
  pixelBytes_ = 0;
}

}  // namespace s::image::bmp::win
