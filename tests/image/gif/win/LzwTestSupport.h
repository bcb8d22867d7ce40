#pragma once
// Helpers shared by the LZW tests: a memory output stream, sub-block parsing, code
// packing by the decoder's width rule, and random pictures.
#include <cstdint>
#include <random>
#include <vector>

#include "s/image/gif/win/GifLzw.h"
#include "s/io/IOutputStream.h"

namespace lzwtest {

using Bytes = std::vector<uint8_t>;

// Collects written bytes; refuses everything after failAfter bytes when that is set.
class MemoryOutput : public s::io::IOutputStream {
 public:
  explicit MemoryOutput(size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
  bool write(const void* buffer, size_t count, size_t* writtenCount) override {
    size_t room = bytes.size() < failAfter_ ? failAfter_ - bytes.size() : 0;
    size_t taken = count < room ? count : room;
    const uint8_t* source = static_cast<const uint8_t*>(buffer);
    bytes.insert(bytes.end(), source, source + taken);
    if (writtenCount) *writtenCount = taken;
    return taken == count;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(bytes.size()); }
  void rewind() override {}
  bool seek(int64_t) override { return false; }

  Bytes bytes;

 private:
  size_t failAfter_;
};

// The data of a run of sub-blocks ending in the terminator; false (and the sizes of
// the blocks seen so far) when the layout is broken or bytes follow the terminator.
inline bool gatherSubBlocks(const Bytes& blocks, Bytes* data, std::vector<int>* blockSizes = nullptr) {
  data->clear();
  size_t at = 0;
  while (at < blocks.size()) {
    size_t length = blocks[at++];
    if (length == 0) return at == blocks.size();
    if (blockSizes) blockSizes->push_back(static_cast<int>(length));
    if (blocks.size() - at < length) return false;
    data->insert(data->end(), blocks.begin() + static_cast<ptrdiff_t>(at),
                 blocks.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  }
  return false;
}

// The code width a GIF decoder expects, followed code by code: a clear code resets
// it; every other code except the first after a clear defines one string until 4096;
// the width grows once the next free code no longer fits.
class CodeWidthModel {
 public:
  explicit CodeWidthModel(int minCodeSize) : minCodeSize_(minCodeSize) { clear(); }
  int width() const { return width_; }
  int nextCode() const { return nextCode_; }
  int clearCode() const { return 1 << minCodeSize_; }
  void see(int code) {
    if (code == clearCode()) {
      clear();
      return;
    }
    if (havePrevious_ && nextCode_ < 4096) ++nextCode_;
    havePrevious_ = true;
    if (nextCode_ >= (1 << width_) && width_ < 12) ++width_;
  }

 private:
  void clear() {
    width_ = minCodeSize_ + 1;
    nextCode_ = clearCode() + 2;
    havePrevious_ = false;
  }
  int minCodeSize_;
  int width_ = 0;
  int nextCode_ = 0;
  bool havePrevious_ = false;
};

// Packs codes least significant bit first at the widths the model gives.
inline Bytes packCodes(int minCodeSize, const std::vector<int>& codes) {
  CodeWidthModel model(minCodeSize);
  Bytes out;
  uint32_t bits = 0;
  int count = 0;
  for (int code : codes) {
    bits |= static_cast<uint32_t>(code) << count;
    count += model.width();
    model.see(code);
    for (; count >= 8; count -= 8, bits >>= 8) out.push_back(static_cast<uint8_t>(bits));
  }
  if (count > 0) out.push_back(static_cast<uint8_t>(bits));
  return out;
}

// Unpacks codes up to and including the end code (or to the end of the data).
// *widths receives the width each code was read at.
inline std::vector<int> unpackCodes(int minCodeSize, const Bytes& data, std::vector<int>* widths = nullptr) {
  CodeWidthModel model(minCodeSize);
  std::vector<int> codes;
  uint64_t bitPosition = 0;
  const uint64_t totalBits = data.size() * 8ull;
  while (bitPosition + static_cast<uint64_t>(model.width()) <= totalBits) {
    int code = 0;
    for (int i = 0; i < model.width(); ++i, ++bitPosition) {
      code |= ((data[bitPosition / 8] >> (bitPosition % 8)) & 1) << i;
    }
    codes.push_back(code);
    if (widths) widths->push_back(model.width());
    if (code == model.clearCode() + 1) break;
    model.see(code);
  }
  return codes;
}

// A frame of indices below 2^depth with a row stride of its own.
struct Picture {
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;
  Bytes pixels;
  uint8_t* row(int y) { return pixels.data() + y * stride; }
  s::image::gif::win::GifLzwSource source() const { return {pixels.data(), stride, width, height}; }
};

// Random indices, or with runLength > 1, runs of that many equal indices.
inline Picture randomPicture(std::mt19937& random, int width, int height, int depth, int runLength = 1,
                             int padding = 0) {
  Picture picture{width, height, width + padding, {}};
  picture.pixels.assign(static_cast<size_t>(picture.stride) * static_cast<size_t>(height), 0xEE);
  std::uniform_int_distribution<int> index(0, (1 << depth) - 1);
  int value = index(random);
  int left = runLength;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (--left < 0) {
        value = index(random);
        left = runLength - 1;
      }
      picture.row(y)[x] = static_cast<uint8_t>(value);
    }
  }
  return picture;
}

// Encodes a picture with a fresh pooled encoder; the sub-blocks with their terminator.
inline Bytes encodeBlocks(int codeSize, const s::image::gif::win::GifLzwSource& source) {
  MemoryOutput out;
  s::image::gif::win::GifLzw* lzw = s::image::gif::win::GifLzw::create();
  s::image::gif::win::GifLzwEncodeStatus status = lzw->encode(codeSize, source, out);
  lzw->release();
  if (status != s::image::gif::win::GifLzwEncodeStatus::kOk) out.bytes.clear();
  return out.bytes;
}

inline Bytes encodeData(int codeSize, const s::image::gif::win::GifLzwSource& source) {
  Bytes data;
  gatherSubBlocks(encodeBlocks(codeSize, source), &data);
  return data;
}

}  // namespace lzwtest
