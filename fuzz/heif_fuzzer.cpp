// libFuzzer target for the HEIF and AVIF reader: our box checks and libheif (with
// libde265, dav1d and libaom) behind them, pictures capped at 2^20 pixels. The
// picture is turned into a pixel image and an image set, and every byte is read.
//
// Seed folders: heif_fuzzer.corpora (relative to the shared test data).
#include <cstdint>

#include "codec_fuzz_support.h"
#include "s/image/heif/win/Heif.h"
#include "s/image/win/BufferedImageSet.h"

// libheif 1.15's dav1d decoder leaks 40 bytes of dav1d's on some damaged AV1 data
// (dav1d allocates them; neither libheif nor we ever see the pointer). Our own
// leaks are still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdav1d.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using s::thread::Owned;
  codec_fuzz::Input in(data, size);
  Owned<s::image::heif::win::Heif> heif(s::image::heif::win::Heif::create());
  (void)heif->readLimited(in, int64_t{1} << 20);
  Owned<s::image::win::BufferedImageSet> set(heif->toImageSet(0));
  for (int i = 0; i < set->getCount(); ++i) codec_fuzz::touch(set->getImage(i));
  return 0;
}
