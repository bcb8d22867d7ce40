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

class Input final : public s::io::IInputStream {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool read(void* buffer, size_t count, size_t* readCount) override {
    size_t available = position_ < size_ ? size_ - position_ : 0;
    size_t n = count < available ? count : available;
    if (n) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    if (readCount) *readCount = n;
    return n > 0;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(position_); }
  void rewind() override { position_ = 0; }
  bool seek(int64_t position) override {
    if (position < 0) return false;
    position_ = static_cast<size_t>(position);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

class Output final : public s::io::IOutputStream {
 public:
  bool write(const void* buffer, size_t count, size_t* writtenCount) override {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    data.insert(data.end(), bytes, bytes + count);
    if (writtenCount) *writtenCount = count;
    return true;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(data.size()); }
  void rewind() override { data.clear(); }
  bool seek(int64_t) override { return false; }
  std::vector<uint8_t> data;
};

// Reads every byte of the picture so that the sanitizers see any bad pixel memory.
volatile uint32_t sink;
void touch(const BufferedImage* image) {
  uint32_t sum = 0;
  for (int y = 0; y < image->getHeight(); ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getRowBytes(); ++x) sum += line[x];
  }
  sink = sum;
}

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
