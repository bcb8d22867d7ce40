// libFuzzer target for the ICO reader (and writer, on small icons): every image is
// turned into a pixel image whose every byte is read; when the last input byte asks
// for it, the icon is made again through createLike, written and read back.
#include <cstdint>
#include <cstdlib>

#include "codec_fuzz_support.h"
#include "s/image/ico/win/Icon.h"
#include "s/image/win/BufferedImageSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using s::image::ico::win::Icon;
  using s::image::win::BufferedImage;
  using s::image::win::BufferedImageSet;
  using s::thread::Owned;
  const uint8_t options = size ? data[size - 1] : 0;
  codec_fuzz::Input in(data, size);
  Owned<Icon> icon(Icon::create());
  (void)icon->readLimited(in, int64_t{1} << 22);
  int64_t pixels = 0;
  for (int i = 0; i < icon->getImageCount(); ++i) {
    Owned<BufferedImage> image(icon->toBufferedImage(i, nullptr));
    codec_fuzz::touch(image.get());
    pixels += image->getPixelCount();
  }
  if ((options & 1) == 0 || icon->getImageCount() == 0 || pixels > 65536) return 0;
  Owned<BufferedImageSet> set(icon->toImageSet(0));
  Owned<s::image::IEncodedImage> again(icon->createLike(set.get()));
  if (!again) std::abort();  // decoded images can always be encoded
  codec_fuzz::Output out;
  if (!again->write(out)) std::abort();
  codec_fuzz::Input back(out.data.data(), out.data.size());
  Owned<Icon> reread(Icon::create());
  if (!reread->read(back)) std::abort();  // what the writer wrote must read back whole
  if (reread->getImageCount() != icon->getImageCount()) std::abort();
  for (int i = 0; i < reread->getImageCount(); ++i) {
    Owned<BufferedImage> image(reread->toBufferedImage(i, nullptr));
    codec_fuzz::touch(image.get());
  }
  return 0;
}
