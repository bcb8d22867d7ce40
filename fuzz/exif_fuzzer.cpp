// libFuzzer target for the Exif orientation reader. The input is an APP1 payload;
// when it holds "Exif\0\0" further on (a JPEG file from the seeds, say), the bytes
// from there are read as a payload too. Every answer must be an orientation.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "s/image/jpg/ExifOrientation.h"

namespace {

// Reads size bytes from an allocation of exactly that size, so that the sanitizers
// see any read past the block.
void readBlock(const uint8_t* data, size_t size) {
  std::unique_ptr<uint8_t[]> block(new uint8_t[size ? size : 1]);
  std::copy(data, data + size, block.get());
  const int orientation = s::image::jpg::ExifOrientation::fromApp1(block.get(), size);
  if (orientation < 1 || orientation > 8) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  readBlock(data, size);
  static const uint8_t kHeader[] = {'E', 'x', 'i', 'f', 0, 0};
  const uint8_t* at = std::search(data + std::min<size_t>(size, 1), data + size, kHeader, kHeader + sizeof(kHeader));
  if (at != data + size) readBlock(at, static_cast<size_t>(data + size - at));
  return 0;
}
