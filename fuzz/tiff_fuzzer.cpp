// libFuzzer target for the TIFF reader: the directory chain walk, libtiff's
// decoders and our sample conversion, pictures capped at 2^20 pixels. The picture
// is turned into a pixel image and an image set, and every byte is read.
//
// Seed folders: tiff_fuzzer.corpora (relative to the shared test data).
#include <cstdint>

#include "codec_fuzz_support.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/win/BufferedImageSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using s::thread::Owned;
  codec_fuzz::Input in(data, size);
  Owned<s::image::tiff::win::Tiff> tiff(s::image::tiff::win::Tiff::create());
  (void)tiff->readLimited(in, int64_t{1} << 20);
  Owned<s::image::win::BufferedImageSet> set(tiff->toImageSet(0));
  for (int i = 0; i < set->getCount(); ++i) codec_fuzz::touch(set->getImage(i));
  return 0;
}
