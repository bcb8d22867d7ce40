// libFuzzer target for the WebP reader (and writer, on small pictures): stills and
// animations, pictures capped at 2^20 pixels and animations at 2^22 for all their
// frames and copies. Every frame is turned into a pixel image and every byte read;
// when the last input byte asks for it, a small picture is encoded again through
// createLike (lossy or lossless as the source), written and read back.
//
// Seed folders: webp_fuzzer.corpora (relative to the shared test data).
#include <cstdint>
#include <cstdlib>

#include "codec_fuzz_support.h"
#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImageSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using s::image::webp::win::Webp;
  using s::image::win::BufferedImageSet;
  using s::thread::Owned;
  codec_fuzz::Input in(data, size);
  Owned<Webp> webp(Webp::create());
  (void)webp->readLimited(in, int64_t{1} << 20, uint64_t{1} << 22);
  Owned<BufferedImageSet> set(webp->toImageSet(0));
  for (int i = 0; i < set->getCount(); ++i) codec_fuzz::touch(set->getImage(i));
  const uint8_t options = size ? data[size - 1] : 0;
  if ((options & 1) == 0 || set->getCount() == 0 || set->getPrimary()->getPixelCount() > 4096) return 0;
  Owned<s::image::IEncodedImage> again(webp->createLike(set.get()));
  if (!again) std::abort();  // a decoded picture can always be encoded
  codec_fuzz::Output out;
  if (!again->write(out)) std::abort();
  codec_fuzz::Input back(out.data.data(), out.data.size());
  Owned<Webp> reread(Webp::create());
  // What the writer wrote must read back (libwebp may merge identical frames).
  if (!reread->read(back) || reread->getFrameCount() < 1 || reread->getFrameCount() > again->getImageCount()) std::abort();
  return 0;
}
