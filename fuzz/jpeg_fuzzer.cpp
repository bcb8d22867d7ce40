// libFuzzer target for the JPEG reader (and writer, on small pictures). Pictures
// are capped at 2^20 pixels: full-size photographs in the seeds would otherwise
// cost tens of milliseconds per run.
#include <cstdint>

#include "codec_fuzz_support.h"
#include "s/image/jpg/win/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return codec_fuzz::readAndRoundTrip<s::image::jpg::win::Jpeg>(data, size, int64_t{1} << 20);
}
