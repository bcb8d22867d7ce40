// libFuzzer target for the GIF reader and the frame conversions.
//
// Each input is read as a GIF with a pixel budget of 2^16 (frames, the toImageSet
// canvases and the composeFrames copies together), every frame is turned into a
// pixel image, the frames into an image set and composed frames, and every output
// byte is read. When the last input byte asks for it and the pictures are small, the
// set (or the composed set) is encoded again (createLike), written and read back:
// what the writer wrote must read back completely with the same frame count, and
// the composed set's file, composed again, must be transparent exactly where the
// composed set is.
//
// Seed folders: gif_fuzzer.corpora (relative to the shared test data).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec_fuzz_support.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/thread/Owned.h"

namespace {

using s::image::gif::win::Gif;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

constexpr uint64_t kMaxTotalPixels = uint64_t{1} << 16;
constexpr int kMaxReencodePixels = 4096;

using codec_fuzz::Input;
using codec_fuzz::Output;
using codec_fuzz::touch;

void touch(const BufferedImageSet* set) {
  for (int i = 0; i < set->getCount(); ++i) touch(set->getImage(i));
}

// Whether every pixel of every picture is transparent in both sets or in neither.
bool sameTransparency(const BufferedImageSet* one, const BufferedImageSet* other) {
  if (one->getCount() != other->getCount()) return false;
  for (int i = 0; i < one->getCount(); ++i) {
    const BufferedImage* a = one->getImage(i);
    const BufferedImage* b = other->getImage(i);
    if (a->getWidth() != b->getWidth() || a->getHeight() != b->getHeight()) return false;
    for (int y = 0; y < a->getHeight(); ++y)
      for (int x = 0; x < a->getWidth(); ++x)
        if ((a->getLine(y)[4 * x + 3] == 0) != (b->getLine(y)[4 * x + 3] == 0)) return false;
  }
  return true;
}

void reencode(Gif* gif, BufferedImageSet* set, bool composed) {
  for (int i = 0; i < set->getCount(); ++i)
    if (set->getImage(i)->getPixelCount() > kMaxReencodePixels || set->getImage(i)->getPixelCount() == 0) return;
  Owned<s::image::IEncodedImage> again(gif->createLike(set));
  if (!again) return;
  Output out;
  if (!again->write(out)) std::abort();
  Input in(out.data.data(), out.data.size());
  Owned<Gif> back(Gif::create());
  if (!back->read(in) || back->getFrameCount() != again->getImageCount()) std::abort();
  Owned<BufferedImageSet> backSet(back->toImageSet(0));
  touch(backSet.get());
  if (!composed || set->getCount() < 2) return;
  Owned<BufferedImageSet> shown(backSet->composeFrames());
  if (!sameTransparency(shown.get(), set)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t options = size ? data[size - 1] : 0;
  Input in(data, size);
  Owned<Gif> gif(Gif::create());
  (void)gif->readLimited(in, kMaxTotalPixels);
  for (int i = 0; i < gif->getFrameCount(); ++i) {
    Owned<BufferedImage> frame(gif->toBufferedImage(i, nullptr));
    touch(frame.get());
  }
  Owned<BufferedImageSet> set(gif->toImageSet(0));
  touch(set.get());
  Owned<BufferedImageSet> composed(set->composeFrames());
  touch(composed.get());
  if (options & 1) {
    const bool fromComposed = (options & 2) != 0;
    reencode(gif.get(), fromComposed ? composed.get() : set.get(), fromComposed);
  }
  return 0;
}
