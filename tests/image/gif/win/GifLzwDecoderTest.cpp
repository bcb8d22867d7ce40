// Round trips through the encoder and decoder, and decoding of damaged streams.
#include <gtest/gtest.h>

#include <random>

#include "image/gif/win/LzwTestSupport.h"
#include "s/image/gif/win/GifLzw.h"
#include "s/image/gif/win/GifRowOrder.h"

namespace {

using namespace lzwtest;
using s::image::gif::win::GifLzw;
using s::image::gif::win::GifLzwDecodeResult;
using s::image::gif::win::GifLzwDecodeStatus;
using s::image::gif::win::GifLzwTarget;
using s::image::gif::win::GifRowOrder;

struct Decoded {
  GifLzwDecodeResult result;
  Bytes pixels;  // width x height, top row first
};

constexpr uint8_t kGuard = 0xA5;

// Decodes into a width x height frame with `padding` guard bytes after every row that
// must stay untouched. Returns the frame without the padding.
Decoded decodeFrame(int minCodeSize, const Bytes& data, int width, int height, bool interlaced = false,
                    int padding = 3) {
  const ptrdiff_t stride = width + padding;
  // An exactly sized copy of the data, so that ASan sees any read past its end.
  std::vector<uint8_t> exact(data.begin(), data.end());
  Bytes frame(static_cast<size_t>(stride) * static_cast<size_t>(height), kGuard);
  Decoded decoded;
  decoded.result =
      GifLzw::decode(minCodeSize, exact.data(), exact.size(), GifLzwTarget{frame.data(), stride, width, height, interlaced});
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = frame.data() + y * stride;
    decoded.pixels.insert(decoded.pixels.end(), row, row + width);
    for (int x = width; x < stride; ++x) EXPECT_EQ(row[x], kGuard) << "padding overwritten in row " << y;
  }
  return decoded;
}

Bytes packed(const Picture& picture) {
  Bytes pixels;
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row = picture.pixels.data() + y * picture.stride;
    pixels.insert(pixels.end(), row, row + picture.width);
  }
  return pixels;
}

TEST(GifLzwRoundTrip, RandomPicturesAtEveryDepth) {
  struct Size {
    int width, height, runLength;
  };
  const Size sizes[] = {
      {1, 1, 1},     {1, 40, 1},   {40, 1, 1},   {3, 7, 1},     {17, 13, 1},   {64, 64, 1},
      {257, 31, 1},  {100, 100, 5}, {200, 150, 40}, {33, 500, 1000}, {1000, 20, 20000},
  };
  std::mt19937 random(1);
  for (int depth = 1; depth <= 8; ++depth) {
    const int codeSize = depth < 2 ? 2 : depth;
    for (const Size& size : sizes) {
      Picture picture = randomPicture(random, size.width, size.height, depth, size.runLength, depth % 3);
      Bytes data = encodeData(codeSize, picture.source());
      ASSERT_FALSE(data.empty());
      Decoded decoded = decodeFrame(codeSize, data, size.width, size.height);
      EXPECT_EQ(decoded.result.status, GifLzwDecodeStatus::kComplete)
          << "depth " << depth << ", " << size.width << " x " << size.height;
      EXPECT_EQ(decoded.result.decodedPixels, static_cast<uint64_t>(size.width) * static_cast<uint64_t>(size.height));
      EXPECT_EQ(decoded.pixels, packed(picture)) << "depth " << depth << ", " << size.width << " x " << size.height;
    }
  }
}

// One colour everywhere: strings grow to thousands of pixels, cross many rows and
// fill the table several times.
TEST(GifLzwRoundTrip, LongRunsAcrossRowsAndClears) {
  for (int width : {1, 7, 255, 4099}) {
    Picture picture{width, 3000, width, Bytes(static_cast<size_t>(width) * 3000, 5)};
    Bytes data = encodeData(8, picture.source());
    Decoded decoded = decodeFrame(8, data, width, 3000);
    EXPECT_EQ(decoded.result.status, GifLzwDecodeStatus::kComplete) << width;
    EXPECT_EQ(decoded.pixels, picture.pixels) << width;
  }
}

TEST(GifLzwRoundTrip, InterlacedFramesGetTheirRowsInPassOrder) {
  std::mt19937 random(5);
  for (int height : {1, 2, 3, 4, 5, 8, 9, 17, 100}) {
    Picture picture = randomPicture(random, 23, height, 8, height % 2 ? 3 : 50);
    // The stream of an interlaced frame carries its rows in pass order.
    Picture stream = picture;
    for (int i = 0; i < height; ++i) {
      const uint8_t* from = picture.row(GifRowOrder::rowAt(i, height, true));
      std::copy(from, from + picture.width, stream.row(i));
    }
    Decoded decoded = decodeFrame(8, encodeData(8, stream.source()), 23, height, true);
    EXPECT_EQ(decoded.result.status, GifLzwDecodeStatus::kComplete);
    EXPECT_EQ(decoded.pixels, packed(picture)) << height;
  }
}

TEST(GifLzwRoundTrip, BottomUpRowsWithNegativeStride) {
  std::mt19937 random(9);
  Picture picture = randomPicture(random, 31, 9, 6, 2);
  Bytes data = encodeData(6, {picture.row(8), -picture.stride, 31, 9});
  Bytes frame(picture.pixels.size(), 0);
  GifLzwTarget target{frame.data() + 8 * picture.stride, -picture.stride, 31, 9, false};
  EXPECT_EQ(GifLzw::decode(6, data.data(), data.size(), target).status, GifLzwDecodeStatus::kComplete);
  for (int y = 0; y < 9; ++y) {
    EXPECT_TRUE(std::equal(picture.row(y), picture.row(y) + 31, frame.data() + y * picture.stride)) << y;
  }
}

// Streams that keep sending 12-bit codes after the table is full, without a clear
// code, go on decoding with the table as it is.
TEST(GifLzwDecoder, FullTableKeepsDecodingWithoutClear) {
  std::vector<int> codes = {4};  // clear, code size 2
  Bytes expected;
  // Root i (i >= 1) defines code 5 + i as roots i - 1 and i, so roots 0..4090 fill
  // codes 6..4095; 500 more roots follow.
  for (int i = 0; i < 4091 + 500; ++i) {
    codes.push_back(i % 4);
    expected.push_back(static_cast<uint8_t>(i % 4));
  }
  codes.push_back(4095);  // roots 4089 and 4090: 1 2
  expected.push_back(1);
  expected.push_back(2);
  codes.push_back(5);
  Decoded decoded = decodeFrame(2, packCodes(2, codes), static_cast<int>(expected.size()), 1);
  EXPECT_EQ(decoded.result.status, GifLzwDecodeStatus::kComplete);
  EXPECT_EQ(decoded.pixels, expected);
}

TEST(GifLzwDecoder, DamagedStreamsEndCleanlyAndLeaveIndexZero) {
  struct Case {
    const char* name;
    int minCodeSize;
    Bytes data;
    int width, height;
    GifLzwDecodeStatus status;
    Bytes pixels;
  };
  const Bytes valid = packCodes(2, {4, 1, 2, 6, 7, 3, 5});  // 1 2 | 1 2 | 2 1 | 3 = 7 pixels
  const Bytes validPixels = {1, 2, 1, 2, 2, 1, 3};
  const Case cases[] = {
      {"valid", 2, valid, 7, 1, GifLzwDecodeStatus::kComplete, validPixels},
      {"valid, frame smaller than the data", 2, valid, 3, 1, GifLzwDecodeStatus::kComplete, {1, 2, 1}},
      {"valid, strings ending at row ends", 2, valid, 2, 2, GifLzwDecodeStatus::kComplete, {1, 2, 1, 2}},
      {"valid, a string cut by the frame end", 2, valid, 5, 1, GifLzwDecodeStatus::kComplete, {1, 2, 1, 2, 2}},
      {"end code before the frame is full", 2, valid, 3, 3, GifLzwDecodeStatus::kEndCode,
       {1, 2, 1, 2, 2, 1, 3, 0, 0}},
      {"code beyond the next free one", 2, packCodes(2, {4, 1, 7, 1}), 4, 1, GifLzwDecodeStatus::kCodeOutOfRange,
       {1, 0, 0, 0}},
      {"next free code right after a clear", 2, packCodes(2, {4, 6, 1}), 3, 1,
       GifLzwDecodeStatus::kCodeOutOfRange, {0, 0, 0}},
      {"next free code after a clear mid-stream", 2, packCodes(2, {4, 1, 2, 4, 6}), 4, 1,
       GifLzwDecodeStatus::kCodeOutOfRange, {1, 2, 0, 0}},
      {"next free code at the very start", 2, packCodes(2, {6}), 2, 1, GifLzwDecodeStatus::kCodeOutOfRange,
       {0, 0}},
      // The code being defined spells the previous string plus its first byte.
      {"next free code with a previous string", 2, packCodes(2, {4, 1, 6, 5}), 4, 1,
       GifLzwDecodeStatus::kEndCode, {1, 1, 1, 0}},
      {"no clear code at the start", 2, packCodes(2, {3, 3, 6, 5}), 5, 1, GifLzwDecodeStatus::kEndCode,
       {3, 3, 3, 3, 0}},
      {"truncated", 2, Bytes(valid.begin(), valid.begin() + 1), 7, 1, GifLzwDecodeStatus::kDataExhausted,
       {1, 0, 0, 0, 0, 0, 0}},
      {"empty data", 8, {}, 2, 2, GifLzwDecodeStatus::kDataExhausted, {0, 0, 0, 0}},
      {"only a clear code", 8, packCodes(8, {256}), 2, 1, GifLzwDecodeStatus::kDataExhausted, {0, 0}},
      {"code size 0", 0, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size 9", 9, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size 10", 10, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size 11", 11, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size 12", 12, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size -1", -1, valid, 2, 1, GifLzwDecodeStatus::kBadCodeSize, {0, 0}},
      {"code size 1", 1, packCodes(1, {2, 1, 0, 4, 3}), 5, 1, GifLzwDecodeStatus::kEndCode,
       {1, 0, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    Decoded decoded = decodeFrame(c.minCodeSize, c.data, c.width, c.height);
    EXPECT_EQ(decoded.result.status, c.status) << c.name;
    EXPECT_EQ(decoded.pixels, c.pixels) << c.name;
  }
}

TEST(GifLzwDecoder, BadFramesAreNotTouched) {
  const Bytes data = packCodes(2, {4, 1, 5});
  uint8_t frame[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  const GifLzwTarget targets[] = {
      {nullptr, 2, 2, 2, false},
      {frame, 2, 0, 2, false},
      {frame, 2, 2, 0, false},
      {frame, 1, 2, 2, false},
      {frame, 0, 2, 2, false},
  };
  for (const GifLzwTarget& target : targets) {
    EXPECT_EQ(GifLzw::decode(2, data.data(), data.size(), target).status, GifLzwDecodeStatus::kBadFrame);
  }
  for (uint8_t value : frame) EXPECT_EQ(value, 9);
}

}  // namespace
