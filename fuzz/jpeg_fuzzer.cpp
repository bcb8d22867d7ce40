// libFuzzer target for the JPEG reader.
//
// Each input is read with pictures capped at 2^20 pixels (full-size photographs in
// the seeds would otherwise cost tens of milliseconds per run), converted to a
// pixel image whose every byte is read, and, when the last input byte asks for it
// and the picture is small, encoded again through createLike and read back.
#include <cstdint>
#include <cstdlib>

#include "codec_fuzz_support.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/thread/Owned.h"

namespace {

using s::image::jpg::win::Jpeg;
using s::image::win::BufferedImage;
using s::thread::Owned;

constexpr int64_t kMaxPixels = int64_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t options = size ? data[size - 1] : 0;
  codec_fuzz::Input in(data, size);
  Owned<Jpeg> codec(Jpeg::create());
  (void)codec->readLimited(in, kMaxPixels);
  Owned<BufferedImage> image(codec->toBufferedImage(0, nullptr));
  codec_fuzz::touch(image.get());
  if ((options & 1) == 0 || image->getPixelCount() == 0 || image->getPixelCount() > 4096) return 0;
  Owned<s::image::IEncodedImage> again(codec->createLike(image.get()));
  if (!again) std::abort();  // a decoded picture can always be encoded
  codec_fuzz::Output out;
  if (!again->write(out)) std::abort();
  codec_fuzz::Input back(out.data.data(), out.data.size());
  Owned<Jpeg> reread(Jpeg::create());
  if (!reread->read(back)) std::abort();  // what the writer wrote must read back
  Owned<BufferedImage> backImage(reread->toBufferedImage(0, nullptr));
  codec_fuzz::touch(backImage.get());
  return 0;
}
