// Reading GIF files: block layout, per-frame values, interlacing, and hostile input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/gif/win/GifFixtures.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using gif_fixtures::decode;
using gif_fixtures::indexAt;
using gif_fixtures::lzwBlocks;
using gif_fixtures::pixelAt;
using s::image::gif::win::Gif;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;
using testing_streams::ByteWriter;

// Header and logical screen of width x height with a 2-entry global table (black,
// white).
ByteWriter screenWithBlackWhite(int width, int height) {
  ByteWriter w;
  w.text("GIF89a");         // signature, version
  w.u16(width).u16(height);  // logical screen
  w.u8(0x80);               // global table, 2^(0+1) entries
  w.u8(0).u8(0);            // background index, aspect ratio
  w.u8(0).u8(0).u8(0);      // entry 0 black
  w.u8(255).u8(255).u8(255);  // entry 1 white
  return w;
}

// Image descriptor without a local table, then code size 2 and the data.
void image(ByteWriter& w, int left, int top, int width, int height, const std::vector<uint8_t>& indices,
           uint8_t packed = 0) {
  w.u8(0x2C);                          // image separator
  w.u16(left).u16(top);                // position
  w.u16(width).u16(height);            // size
  w.u8(packed);                        // no local table unless packed says so
  w.u8(2);                             // minimum code size
  w.raw(lzwBlocks(2, indices, width, height));  // sub-blocks and terminator
}

void graphicControl(ByteWriter& w, uint8_t packed, int delay, int transparentIndex) {
  w.u8(0x21).u8(0xF9).u8(4);  // extension, label, block size
  w.u8(packed);               // transparency flag (bit 0), disposal (bits 2-4)
  w.u16(delay);               // hundredths of a second
  w.u8(transparentIndex);
  w.u8(0);                    // terminator
}

// 2 x 2 screen, NETSCAPE loop 5, control (disposal 2, delay 7, transparent 1), one
// 2 x 2 frame [0 1 / 1 0].
std::vector<uint8_t> animatedFixture() {
  ByteWriter w = screenWithBlackWhite(2, 2);
  w.u8(0x21).u8(0xFF).u8(11).text("NETSCAPE2.0");  // application extension
  w.u8(3).u8(1).u16(5).u8(0);                      // loop sub-block, terminator
  graphicControl(w, 0x09, 7, 1);
  image(w, 0, 0, 2, 2, {0, 1, 1, 0});
  w.u8(0x3B);
  return w.bytes;
}

TEST(GifRead, FrameValuesFromTheGraphicControlBlock) {
  auto result = decode(animatedFixture());
  ASSERT_TRUE(result.ok);
  Gif* gif = result.gif.get();
  ASSERT_EQ(gif->getFrameCount(), 1);
  EXPECT_EQ(gif->getLoopCount(), 5);
  EXPECT_EQ(gif->getFrame(0).delay, 70);  // stored 7 hundredths
  EXPECT_EQ(gif->getFrame(0).disposal, 2);
  EXPECT_EQ(gif->getFrame(0).transparentIndex, 1);
  EXPECT_EQ(gif->getBitDepth(), 1);
  EXPECT_EQ(gif->getBitCount(), 8);
  EXPECT_EQ(gif->getPaletteCount(), 256);
  EXPECT_TRUE(gif->hasTransparency());
  EXPECT_TRUE(gif->hasMultipleImages());
  EXPECT_EQ(indexAt(gif, 0, 1, 0), 1);
  EXPECT_EQ(indexAt(gif, 0, 1, 1), 0);
  Owned<BufferedImage> picture(gif->toBufferedImage(0, nullptr));
  EXPECT_TRUE(picture->hasAlpha());
  EXPECT_EQ(pixelAt(picture.get(), 0, 0), 0xFF000000u);  // black, opaque
  EXPECT_EQ(pixelAt(picture.get(), 1, 0) >> 24, 0u);     // the transparent index
}

TEST(GifRead, ColourTables) {
  struct Case {
    const char* name;
    bool global;
    int localDepth;  // 0: no local table
    int expectedDepth;
    uint32_t expectedEntry3;  // colour-table word of entry 3
  };
  const Case cases[] = {
      {"global only: entries past the table are 0", true, 0, 1, 0},
      {"local table of depth 2 replaces the global one", true, 2, 2, 0x00030201},
      {"no table at all: gray ramp, depth 8", false, 0, 8, 0x00030303},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteWriter w;
    if (c.global) {
      w = screenWithBlackWhite(1, 1);
    } else {
      w.text("GIF87a").u16(1).u16(1).u8(0).u8(0).u8(0);  // no global table
    }
    w.u8(0x2C).u16(0).u16(0).u16(1).u16(1);  // descriptor of a 1 x 1 image
    if (c.localDepth) {
      w.u8(0x80 | (c.localDepth - 1));  // local table present
      for (int i = 0; i < (1 << c.localDepth); ++i) w.u8(i).u8(2).u8(1);  // red i, green 2, blue 1
    } else {
      w.u8(0);
    }
    w.u8(2).raw(lzwBlocks(2, {3}, 1, 1)).u8(0x3B);
    auto result = decode(w.bytes);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.gif->getBitDepth(), c.expectedDepth);
    EXPECT_EQ(result.gif->getFrameRaster(0)->getPalette()[3], c.expectedEntry3);
  }
}

// Rows of the pixel stream are 10 * (stream row + 1); the frame rows must follow the
// four-pass order.
TEST(GifRead, InterlacedRowsFollowTheFourPasses) {
  struct Case {
    int height;
    std::vector<int> frameRowOfStreamRow;
  };
  const Case cases[] = {{3, {0, 2, 1}}, {5, {0, 4, 2, 1, 3}}, {9, {0, 8, 4, 2, 6, 1, 3, 5, 7}}, {1, {0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    std::vector<uint8_t> indices;
    for (int row = 0; row < c.height; ++row) indices.insert(indices.end(), 2, static_cast<uint8_t>(10 * (row + 1)));
    ByteWriter w;
    w.text("GIF89a").u16(2).u16(c.height).u8(0).u8(0).u8(0);  // screen, no global table
    w.u8(0x2C).u16(0).u16(0).u16(2).u16(c.height).u8(0x40);  // interlaced, no local table
    w.u8(8).raw(lzwBlocks(8, indices, 2, c.height)).u8(0x3B);
    auto result = decode(w.bytes);
    ASSERT_EQ(result.gif->getFrameCount(), 1);
    EXPECT_TRUE(result.gif->isInterlaced());
    for (int streamRow = 0; streamRow < c.height; ++streamRow)
      EXPECT_EQ(indexAt(result.gif.get(), 0, 1, c.frameRowOfStreamRow[static_cast<size_t>(streamRow)]),
                10 * (streamRow + 1));
  }
}

TEST(GifRead, EveryTruncationEndsCleanly) {
  const std::vector<uint8_t> whole = animatedFixture();
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    auto result = decode(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)));
    EXPECT_FALSE(result.ok);
    EXPECT_LE(result.gif->getFrameCount(), 1);
  }
}

// Malformed files: each reads without hanging, keeps what it can, and never touches
// memory outside a frame (the sanitizer runs check that part).
TEST(GifRead, HostileFiles) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int frames;
    bool ok;
  };
  auto withImage = [](int codeSize, int width, int height) {
    ByteWriter w = screenWithBlackWhite(2, 2);
    w.u8(0x2C).u16(0).u16(0).u16(width).u16(height).u8(0);  // descriptor
    w.u8(codeSize).raw(lzwBlocks(2, std::vector<uint8_t>(4, 1), 2, 2)).u8(0x3B);
    return w.bytes;
  };
  std::vector<Case> cases = {
      {"not a GIF", {'G', 'I', 'F', '7', '7', 'a', 0, 0, 0, 0, 0, 0, 0, 0x3B}, 0, false},
      {"junk bytes and no trailer", [] { auto w = screenWithBlackWhite(1, 1); w.zeros(5000); return w.bytes; }(), 0,
       false},
      {"code size 0", withImage(0, 2, 2), 1, true},
      {"code size 9", withImage(9, 2, 2), 1, true},
      {"code size 12", withImage(12, 2, 2), 1, true},
      {"zero-width frame is skipped", withImage(2, 0, 2), 0, true},
      {"zero-height frame is skipped", withImage(2, 2, 0), 0, true},
      {"frame of 16384 x 16384: past the pixel budget", withImage(2, 16384, 16384), 0, false},
      {"huge logical screen: every canvas past the budget",
       [] {
         ByteWriter w;
         w.text("GIF89a").u16(65535).u16(65535).u8(0).u8(0).u8(0);  // screen, no table
         image(w, 0, 0, 1, 1, {0});
         w.u8(0x3B);
         return w.bytes;
       }(),
       0, false},
      {"graphic control blocks of size 0, 2 and 9",
       [] {
         ByteWriter w = screenWithBlackWhite(1, 1);
         w.u8(0x21).u8(0xF9).u8(0);                                  // empty block
         w.u8(0x21).u8(0xF9).u8(2).u8(1).u8(0).u8(0);                // short block: delay low byte only
         w.u8(0x21).u8(0xF9).u8(9).u8(1).u16(3).u8(1).zeros(5).u8(0);  // long block
         image(w, 0, 0, 1, 1, {1});
         w.u8(0x3B);
         return w.bytes;
       }(),
       1, true},
      {"unknown extension and stray bytes between blocks",
       [] {
         ByteWriter w = screenWithBlackWhite(1, 1);
         w.u8(0x21).u8(0x99).u8(3).zeros(3).u8(0);  // unknown label, one sub-block
         w.u8(0x00).u8(0x42);                       // stray bytes
         image(w, 0, 0, 1, 1, {1});
         w.u8(0x3B);
         return w.bytes;
       }(),
       1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = decode(c.bytes);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.gif->getFrameCount(), c.frames);
    Owned<BufferedImageSet> set(result.gif->toImageSet(0));
    Owned<BufferedImageSet> composed(set->composeFrames());
    EXPECT_EQ(composed->getCount(), c.frames);
  }
}

TEST(GifRead, BadCodeSizesLeaveTheFrameAtIndexZero) {
  for (int codeSize : {0, 9, 12, 255}) {
    SCOPED_TRACE(codeSize);
    ByteWriter w = screenWithBlackWhite(2, 2);
    w.u8(0x2C).u16(0).u16(0).u16(2).u16(2).u8(0).u8(codeSize).raw(lzwBlocks(2, {1, 1, 1, 1}, 2, 2)).u8(0x3B);
    auto result = decode(w.bytes);
    ASSERT_EQ(result.gif->getFrameCount(), 1);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ(indexAt(result.gif.get(), 0, x, y), 0);
  }
}

TEST(GifRead, FrameCountIsCapped) {
  ByteWriter w = screenWithBlackWhite(1, 1);
  const std::vector<uint8_t> data = lzwBlocks(2, {1}, 1, 1);
  for (int i = 0; i < Gif::kMaxFrames + 3; ++i) w.u8(0x2C).u16(0).u16(0).u16(1).u16(1).u8(0).u8(2).raw(data);
  w.u8(0x3B);
  auto result = decode(w.bytes);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.gif->getFrameCount(), Gif::kMaxFrames);
}

TEST(GifRead, PixelBudgetCountsTheCanvasOfEveryFrame) {
  // 64 x 64 screen: each 1 x 1 frame costs 1 + 2 x 4096 pixels of the budget.
  ByteWriter w = screenWithBlackWhite(64, 64);
  const std::vector<uint8_t> data = lzwBlocks(2, {1}, 1, 1);
  for (int i = 0; i < 10; ++i) w.u8(0x2C).u16(0).u16(0).u16(1).u16(1).u8(0).u8(2).raw(data);
  w.u8(0x3B);
  Owned<Gif> gif(Gif::create());
  testing_streams::MemoryInputStream in(w.bytes);
  EXPECT_FALSE(gif->readLimited(in, 4 * (1 + 2 * 4096) + 3));
  EXPECT_EQ(gif->getFrameCount(), 4);
}

}  // namespace
