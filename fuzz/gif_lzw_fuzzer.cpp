// libFuzzer target for the GIF LZW decoder.
//
// Input: one leading byte, then the code stream (gathered LZW data).
//   bits 0..2  minimum code size - 1 (1..8)
//   bit  3     interlaced row order
//   bits 4..7  frame size, from kFrameSizes
// Sizes outside 1..8 are covered by the unit tests. Every output byte is read, and the
// decoded frame goes through the encoder and back, which must give it again.
//
// When the first corpus folder given is empty, it is seeded with a few streams made
// by the encoder, so a run needs no sample files.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "s/image/gif/win/GifLzw.h"
#include "s/io/IOutputStream.h"

namespace {

using s::image::gif::win::GifLzw;
using s::image::gif::win::GifLzwDecodeStatus;
using s::image::gif::win::GifLzwEncodeStatus;
using s::image::gif::win::GifLzwSource;
using s::image::gif::win::GifLzwTarget;

struct FrameSize {
  int width;
  int height;
};
// Small frames keep executions fast; the 4096-wide ones let single strings of
// thousands of pixels and deferred clears fit, the tall ones exercise row changes.
constexpr FrameSize kFrameSizes[16] = {{1, 1},   {2, 3},    {7, 5},    {16, 16},  {33, 9},    {64, 64},
                                       {1, 200}, {255, 3},  {100, 100}, {128, 128}, {4096, 1}, {4096, 4},
                                       {3, 300}, {500, 40}, {1, 4096},  {512, 32}};

class ByteSink : public s::io::IOutputStream {
 public:
  bool write(const void* buffer, size_t count, size_t* writtenCount) override {
    const uint8_t* source = static_cast<const uint8_t*>(buffer);
    bytes.insert(bytes.end(), source, source + count);
    if (writtenCount) *writtenCount = count;
    return true;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(bytes.size()); }
  void rewind() override {}
  bool seek(int64_t) override { return false; }
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> withoutLengthBytes(const std::vector<uint8_t>& blocks) {
  std::vector<uint8_t> data;
  size_t at = 0;
  while (at < blocks.size() && blocks[at] != 0) {
    size_t length = blocks[at++];
    if (blocks.size() - at < length) std::abort();
    data.insert(data.end(), blocks.begin() + static_cast<ptrdiff_t>(at),
                blocks.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  }
  return data;
}

std::vector<uint8_t> encodeData(int codeSize, const uint8_t* pixels, int width, int height) {
  ByteSink sink;
  GifLzw* lzw = GifLzw::create();
  GifLzwEncodeStatus status = lzw->encode(codeSize, GifLzwSource{pixels, width, width, height}, sink);
  lzw->release();
  if (status != GifLzwEncodeStatus::kOk) std::abort();
  return withoutLengthBytes(sink.bytes);
}

void writeSeeds(const std::filesystem::path& folder) {
  std::mt19937 random(42);
  int count = 0;
  for (int selector : {0x07, 0x17, 0x21, 0x3A, 0x53, 0x65, 0x87, 0x97, 0xA7, 0xB1, 0xC4, 0xF7}) {
    const int codeSize = (selector & 7) + 1;
    const FrameSize size = kFrameSizes[selector >> 4];
    const int depth = codeSize;
    std::vector<uint8_t> pixels(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    std::uniform_int_distribution<int> index(0, (1 << depth) - 1);
    int value = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (i % (1 + count * 3) == 0) value = index(random);  // runs of growing length
      pixels[i] = static_cast<uint8_t>(value);
    }
    std::vector<uint8_t> input = {static_cast<uint8_t>(selector)};
    std::vector<uint8_t> data = encodeData(codeSize, pixels.data(), size.width, size.height);
    input.insert(input.end(), data.begin(), data.end());
    const std::filesystem::path file = folder / ("seed-" + std::to_string(count++));
    if (FILE* out = std::fopen(file.string().c_str(), "wb")) {
      std::fwrite(input.data(), 1, input.size(), out);
      std::fclose(out);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    const char* argument = (*argv)[i];
    if (argument[0] == '-') continue;
    std::error_code error;
    const std::filesystem::path folder(argument);
    if (std::filesystem::is_directory(folder, error) && std::filesystem::is_empty(folder, error)) writeSeeds(folder);
    break;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  if (size < 1) return 0;
  const int minCodeSize = (input[0] & 7) + 1;
  const bool interlaced = (input[0] & 8) != 0;
  const FrameSize frame = kFrameSizes[input[0] >> 4];
  // The code stream in a buffer of its own size, so that any over-read is caught.
  std::vector<uint8_t> data(input + 1, input + size);

  const size_t pixelCount = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
  std::vector<uint8_t> pixels(pixelCount, 0xEE);
  auto result = GifLzw::decode(minCodeSize, data.data(), data.size(),
                               GifLzwTarget{pixels.data(), frame.width, frame.width, frame.height, interlaced});
  if (result.status == GifLzwDecodeStatus::kBadFrame || result.status == GifLzwDecodeStatus::kBadCodeSize) std::abort();
  if (result.decodedPixels > pixelCount) std::abort();
  if ((result.status == GifLzwDecodeStatus::kComplete) != (result.decodedPixels == pixelCount)) std::abort();
  // Every byte was written (a second decode over other bytes gives the same frame)
  // and holds a root of this code size.
  std::vector<uint8_t> overOtherBytes(pixelCount, 0x11);
  auto second = GifLzw::decode(minCodeSize, data.data(), data.size(),
                               GifLzwTarget{overOtherBytes.data(), frame.width, frame.width, frame.height, interlaced});
  if (second.status != result.status || second.decodedPixels != result.decodedPixels || overOtherBytes != pixels) {
    std::abort();
  }
  for (uint8_t pixel : pixels) {
    if (pixel >= (1u << minCodeSize)) std::abort();
  }

  // The frame as a plain top-down stream, re-encoded and decoded again.
  const int codeSize = minCodeSize < 2 ? 2 : minCodeSize;
  std::vector<uint8_t> again = encodeData(codeSize, pixels.data(), frame.width, frame.height);
  std::vector<uint8_t> decoded(pixelCount, 0xEE);
  result = GifLzw::decode(codeSize, again.data(), again.size(),
                          GifLzwTarget{decoded.data(), frame.width, frame.width, frame.height, false});
  if (result.status != GifLzwDecodeStatus::kComplete || decoded != pixels) std::abort();
  return 0;
}
