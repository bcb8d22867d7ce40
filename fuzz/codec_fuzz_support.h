#pragma once
// In-memory streams and pixel touching shared by the codec fuzz targets.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "s/image/IEncodedImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/io/MemoryInput.h"
#include "s/io/IOutputStream.h"
#include "s/thread/Owned.h"

namespace codec_fuzz {

using Input = s::io::MemoryInput;

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

// Reads every byte of the picture so that the sanitizers see bad pixel memory.
inline volatile uint32_t sink;
inline void touch(s::image::win::BufferedImage* image) {
  uint32_t sum = 0;
  for (int y = 0; y < image->getHeight(); ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < image->getRowBytes(); ++x) sum += line[x];
  }
  sink = sum;
}

// One run for a raster codec: the input is read with pictures capped at maxPixels,
// converted to a pixel image whose every byte is read, and, when the last input
// byte asks for it and the picture is small, encoded again through createLike and
// read back; either step failing is a finding.
template <class Codec>
int readAndRoundTrip(const uint8_t* data, size_t size, int64_t maxPixels) {
  using s::image::win::BufferedImage;
  using s::thread::Owned;
  const uint8_t options = size ? data[size - 1] : 0;
  Input in(data, size);
  Owned<Codec> codec(Codec::create());
  (void)codec->readLimited(in, maxPixels);
  Owned<BufferedImage> image(codec->toBufferedImage(0, nullptr));
  touch(image.get());
  if ((options & 1) == 0 || image->getPixelCount() == 0 || image->getPixelCount() > 4096) return 0;
  Owned<s::image::IEncodedImage> again(codec->createLike(image.get()));
  if (!again) std::abort();  // a decoded picture can always be encoded
  Output out;
  if (!again->write(out)) std::abort();
  Input back(out.data.data(), out.data.size());
  Owned<Codec> reread(Codec::create());
  if (!reread->read(back)) std::abort();  // what the writer wrote must read back
  Owned<BufferedImage> backImage(reread->toBufferedImage(0, nullptr));
  touch(backImage.get());
  return 0;
}

}  // namespace codec_fuzz
