// libFuzzer target for the GIF reader and the frame conversions.
//
// Each input is read as a GIF with a pixel budget of 2^16 (frames, the toImageSet
// canvases and the composeFrames copies together), every frame is turned into a
// pixel image, the frames into an image set and composed frames, and every output
// byte is read. When the last input byte asks for it and the pictures are small, the
// set is encoded again (createLike), written and read back: what the writer wrote
// must read back completely with the same frame count.
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

void reencode(Gif* gif, BufferedImageSet* set) {
  for (int i = 0; i < set->getCount(); ++i)
    if (set->getImage(i)->getPixelCount() > kMaxReencodePixels) return;
  Owned<s::image::IEncodedImage> again(gif->createLike(set));
  if (!again) return;
  Output out;
  if (!again->write(out)) std::abort();
  Input in(out.data.data(), out.data.size());
  Owned<Gif> back(Gif::create());
  if (!back->read(in) || back->getFrameCount() != again->getImageCount()) std::abort();
  Owned<BufferedImageSet> backSet(back->toImageSet(0));
  touch(backSet.get());
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
  if (options & 1) reencode(gif.get(), set.get());
  return 0;
}
