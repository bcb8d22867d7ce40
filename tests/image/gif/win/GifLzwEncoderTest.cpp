// The encoder's output format: exact bytes, sub-block layout, clear codes, code widths.
#include <gtest/gtest.h>

#include <random>

#include "image/gif/win/LzwTestSupport.h"
#include "s/image/gif/win/GifLzw.h"

namespace {

using namespace lzwtest;
using s::image::gif::win::GifLzw;
using s::image::gif::win::GifLzwEncodeStatus;
using s::image::gif::win::GifLzwSource;

TEST(GifLzwEncoder, OnePixelIsClearPixelEndInOneBlock) {
  struct Case {
    int codeSize;
    uint8_t pixel;
    Bytes blocks;
  };
  const Case cases[] = {
      // 9-bit codes 256, 0, 257 least significant bit first: 27 bits in 4 bytes.
      {8, 0x00, {0x04, 0x00, 0x01, 0x04, 0x04, 0x00}},
      // 256 = 0 0000 0001 0 | 0xAB: bits 1..7 of byte 1 and bit 0 of byte 2 | 257 from bit 18.
      {8, 0xAB, {0x04, 0x00, 0x57, 0x05, 0x04, 0x00}},
      {8, 0xFF, {0x04, 0x00, 0xFF, 0x05, 0x04, 0x00}},
      // 3-bit codes 4, 1, 5: 100 | 001 | 101 -> 0b01'001'100, then the 9th bit.
      {2, 0x01, {0x02, 0x4C, 0x01, 0x00}},
      // 5-bit codes 16, 7, 17 at code size 4.
      {4, 0x07, {0x02, 0xF0, 0x44, 0x00}},
  };
  for (const Case& c : cases) {
    uint8_t pixel = c.pixel;
    EXPECT_EQ(encodeBlocks(c.codeSize, GifLzwSource{&pixel, 1, 1, 1}), c.blocks) << "code size " << c.codeSize;
  }
}

TEST(GifLzwEncoder, SubBlocksCarry254BytesAndEndWithTheTerminator) {
  std::mt19937 random(7);
  for (int pixels : {1, 300, 1000, 5000, 40000}) {
    Picture picture = randomPicture(random, pixels, 1, 8);
    Bytes blocks = encodeBlocks(8, picture.source());
    Bytes data;
    std::vector<int> sizes;
    ASSERT_TRUE(gatherSubBlocks(blocks, &data, &sizes)) << pixels;
    ASSERT_FALSE(sizes.empty());
    for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 254) << "block " << i;
    EXPECT_GE(sizes.back(), 1);
    EXPECT_LE(sizes.back(), 254);
    EXPECT_EQ(blocks.back(), 0);
  }
}

// Every code but the last defines one string, whatever the pixels, so the clear code
// comes after exactly 4096 - (C + 2) strings, and the widths follow from the count.
TEST(GifLzwEncoder, ClearAfterTheTableFillsAndWidthsGrowAtPowersOfTwo) {
  std::mt19937 random(11);
  for (int codeSize = 2; codeSize <= 8; ++codeSize) {
    const int clearCode = 1 << codeSize;
    Picture picture = randomPicture(random, 300, 300, codeSize);
    Bytes data = encodeData(codeSize, picture.source());
    std::vector<int> widths;
    std::vector<int> codes = unpackCodes(codeSize, data, &widths);
    ASSERT_GT(codes.size(), 4200u) << codeSize;
    ASSERT_EQ(codes.front(), clearCode);
    ASSERT_EQ(codes.back(), clearCode + 1);

    const size_t firstClear = 4096 - (clearCode + 2) + 2;  // the initial clear is code 0
    for (size_t i = 1; i < firstClear; ++i) ASSERT_NE(codes[i], clearCode) << codeSize << " at " << i;
    EXPECT_EQ(codes[firstClear], clearCode) << codeSize;
    EXPECT_EQ(widths[firstClear], 12);
    EXPECT_EQ(widths[firstClear + 1], codeSize + 1) << "after a clear the width starts again";

    // Code j after a clear (j >= 2) is read while C + j is the next free code, so
    // the width is that of the smallest power of two above C + j.
    for (size_t i = 1; i < firstClear; ++i) {
      const int nextFree = clearCode + (i < 2 ? 2 : static_cast<int>(i));
      int expected = codeSize + 1;
      while ((1 << expected) <= nextFree && expected < 12) ++expected;
      ASSERT_EQ(widths[i], expected) << "code size " << codeSize << ", code " << i;
    }
    // Every code refers to a string that exists when it is read.
    CodeWidthModel model(codeSize);
    for (int code : codes) {
      ASSERT_LE(code, model.nextCode());
      model.see(code);
    }
  }
}

// Pixels 16 1 0 0 32 2 0 0: "0 0" is first stored by probing from slot 0 to 5002;
// the pair (32, 2) also starts at slot 0, stops its probe at the 0 entry in 5002 and
// replaces it, so the second "0 0" is not found and goes out as two codes.
TEST(GifLzwEncoder, KeyZeroEntryStopsTheProbeAndIsReplaced) {
  const uint8_t pixels[] = {16, 1, 0, 0, 32, 2, 0, 0};
  Bytes data = encodeData(8, GifLzwSource{pixels, 8, 8, 1});
  EXPECT_EQ(unpackCodes(8, data), (std::vector<int>{256, 16, 1, 0, 0, 32, 2, 0, 0, 257}));
}

TEST(GifLzwEncoder, PixelsAreTakenModuloTheCodeSize) {
  const uint8_t pixels[] = {0xFF, 0x07, 0x04};
  EXPECT_EQ(unpackCodes(2, encodeData(2, GifLzwSource{pixels, 3, 3, 1})), (std::vector<int>{4, 3, 3, 0, 5}));
}

TEST(GifLzwEncoder, RejectsBadArgumentsAndReportsWriteFailures) {
  uint8_t pixels[4] = {1, 2, 3, 4};
  struct Case {
    int codeSize;
    GifLzwSource source;
    GifLzwEncodeStatus status;
  };
  const Case cases[] = {
      {1, {pixels, 2, 2, 2}, GifLzwEncodeStatus::kBadCodeSize},
      {9, {pixels, 2, 2, 2}, GifLzwEncodeStatus::kBadCodeSize},
      {0, {pixels, 2, 2, 2}, GifLzwEncodeStatus::kBadCodeSize},
      {8, {nullptr, 2, 2, 2}, GifLzwEncodeStatus::kBadFrame},
      {8, {pixels, 2, 0, 2}, GifLzwEncodeStatus::kBadFrame},
      {8, {pixels, 2, 2, -1}, GifLzwEncodeStatus::kBadFrame},
      {8, {pixels, 1, 2, 2}, GifLzwEncodeStatus::kBadFrame},  // rows would overlap
      {8, {pixels + 2, -2, 2, 2}, GifLzwEncodeStatus::kOk},   // bottom-up rows
  };
  GifLzw* lzw = GifLzw::create();
  for (const Case& c : cases) {
    MemoryOutput out;
    EXPECT_EQ(lzw->encode(c.codeSize, c.source, out), c.status) << c.codeSize;
    if (c.status != GifLzwEncodeStatus::kOk) {
      EXPECT_TRUE(out.bytes.empty());
    }
  }
  std::mt19937 random(3);
  Picture picture = randomPicture(random, 100, 100, 8);
  for (size_t failAfter : {0, 1, 254, 255, 256, 5000}) {
    MemoryOutput out(failAfter);
    EXPECT_EQ(lzw->encode(8, picture.source(), out), GifLzwEncodeStatus::kWriteFailed) << failAfter;
  }
  // The same object encodes correctly again after a failure.
  MemoryOutput out;
  EXPECT_EQ(lzw->encode(8, picture.source(), out), GifLzwEncodeStatus::kOk);
  EXPECT_EQ(out.bytes, encodeBlocks(8, picture.source()));
  lzw->release();
}

}  // namespace
