// libFuzzer target for the PNG reader (and writer, on small pictures), pictures
// capped at 2^22 pixels.
#include <cstdint>

#include "codec_fuzz_support.h"
#include "s/image/png/win/Png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return codec_fuzz::readAndRoundTrip<s::image::png::win::Png>(data, size, int64_t{1} << 22);
}
