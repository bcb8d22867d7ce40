// The ICO codec: reading order, the written layout, transparency at every depth,
// the encoder's sizes and squares, and damaged entries.
#include <gtest/gtest.h>

#include <cstring>

#include "image/ico/win/IconFixtures.h"
#include "s/col/_array/ArrayU08.h"
#include "s/image/ico/EncodeSetting.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using namespace icon_fixtures;
using s::image::ico::EncodeSetting;
using s::image::win::BufferedImageSet;

uint32_t u32at(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t{bytes[at + 3]} << 24);
}

// An icon of images of these sizes and depths, each a gradient.
Owned<Icon> iconOf(const std::vector<std::pair<int, int>>& sizesAndDepths) {
  Owned<Icon> icon(Icon::create());
  for (auto [size, depth] : sizesAndDepths) {
    Owned<BufferedImage> image =
        picture(size, size, [](int x, int y) { return 0xFF000000u | (x * 7 << 16) | (y * 5 << 8) | 0x40; });
    icon->addIconImage(iconImage(image.get(), depth));
  }
  return icon;
}

TEST(Icon, ReadsTheImageNearest32x32First) {
  Owned<Icon> icon = iconOf({{16, 8}, {32, 4}, {32, 32}, {48, 32}});
  Owned<Icon> back = readIcon(written(*icon));
  ASSERT_EQ(back->getImageCount(), 4);
  const int expected[4][2] = {{32, 32}, {16, 8}, {32, 4}, {48, 32}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(back->getIconImage(i)->getWidth(), expected[i][0]);
    EXPECT_EQ(back->getIconImage(i)->getBitCount(), expected[i][1]);
  }
  EXPECT_EQ(back->getWidth(), 32);
  EXPECT_EQ(back->getHeight(), 32);
  int index = -1;
  EXPECT_TRUE(back->findNearestBySize(40, 40, 32, &index));
  EXPECT_EQ(index, 0);  // area distance 576 beats 48 x 48's 704
  EXPECT_TRUE(back->findNearestByDepth(40, 40, 8, &index));
  EXPECT_EQ(index, 1);
}

TEST(Icon, WrittenLayout) {
  Owned<Icon> icon = iconOf({{20, 4}, {256, 32}});
  const std::vector<uint8_t> bytes = written(*icon);
  // The 4-bit image: colour count 16, a 40-byte header whose height is doubled, a
  // 64-byte colour table, 20 rows of 12 bytes and 20 mask rows of 4 bytes.
  EXPECT_EQ(bytes[6 + 2], 16);
  EXPECT_EQ(u32at(bytes, 6 + 8), 40u + 64 + 20 * 12 + 20 * 4);
  const size_t first = u32at(bytes, 6 + 12);
  EXPECT_EQ(first, 6u + 2 * 16);
  EXPECT_EQ(u32at(bytes, first), 40u);
  EXPECT_EQ(u32at(bytes, first + 8), 40u);    // 2 x 20
  EXPECT_EQ(u32at(bytes, first + 32), 16u);   // colours used
  // The 256-pixel image: width and height bytes 0, colour count 0, a PNG stream.
  EXPECT_EQ(bytes[22], 0);
  EXPECT_EQ(bytes[23], 0);
  EXPECT_EQ(bytes[24], 0);
  const size_t second = u32at(bytes, 22 + 12);
  EXPECT_EQ(std::memcmp(&bytes[second], "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ(second + u32at(bytes, 22 + 8), bytes.size());
  Owned<Icon> back = readIcon(bytes);
  ASSERT_EQ(back->getImageCount(), 2);
  EXPECT_EQ(back->getIconImage(1)->getWidth(), 256);
  EXPECT_EQ(back->getIconImage(1)->getBitCount(), 32);
}

TEST(Icon, TransparencyAtEveryDepth) {
  // Alpha 31 is transparent below 32 bits, alpha 32 opaque; alpha 0 transparent at
  // 32 bits, where partial alpha is kept.
  Owned<BufferedImage> image = picture(8, 2, [](int x, int y) -> uint32_t {
    if (y == 1) return x < 4 ? 0xFF000000u : 0xFFFFFFFFu;  // black and white
    const uint32_t alphas[8] = {31, 32, 0, 255, 128, 255, 1, 255};
    return (alphas[x] << 24) | 0xFFFFFF;
  });
  for (int depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    Owned<IconImage> icon(iconImage(image.get(), depth));
    ASSERT_EQ(icon->getBitCount(), depth);
    // Round trip through the written entry.
    testing_streams::MemoryOutputStream out;
    ASSERT_TRUE(icon->write(out));
    testing_streams::MemoryInputStream in(out.data);
    Owned<IconImage> back(IconImage::create());
    ASSERT_TRUE(back->read(in));
    Owned<BufferedImage> pixels(back->toBufferedImage(0, nullptr));
    ASSERT_TRUE(pixels->hasAlpha());
    for (int x = 0; x < 8; ++x) {
      const uint32_t alpha = at(image.get(), x, 0) >> 24;
      const bool transparent = depth == 32 ? alpha == 0 : alpha < 32;
      EXPECT_EQ(back->isMasked(x, 0), transparent) << x;
      const uint32_t expectedAlpha = depth == 32 ? alpha : (transparent ? 0 : 255);
      EXPECT_EQ(at(pixels.get(), x, 0) >> 24, expectedAlpha) << x;
    }
    // Black and white stay black and white: two colours even at 1 bit.
    EXPECT_EQ(at(pixels.get(), 0, 1), 0xFF000000u);
    EXPECT_EQ(at(pixels.get(), 7, 1) & 0xFFF8F8F8u, 0xFFF8F8F8u);
  }
  // 4 and 8 bits: transparent pixels take the last index, which stays black.
  Owned<IconImage> four(iconImage(image.get(), 4));
  EXPECT_EQ(four->getRow(0)[0] >> 4, 15);
  EXPECT_EQ(four->getRaster()->getPalette()[15], 0u);
}

TEST(Icon, ThirtyTwoBitsWithoutAlphaUseTheMask) {
  // 2 x 2, 32 bits, every alpha byte 0; the mask marks the top-left pixel.
  testing_streams::ByteWriter rest;
  rest.u32(0x00112233).u32(0x00445566)   // bottom row
      .u32(0x00778899).u32(0x00AABBCC)   // top row
      .u32(0).u32(0x80u);                // mask: bottom row clear, top row's first bit set
  const std::vector<uint8_t> entry = dib(2, 4, 32, 0, rest.bytes);
  Owned<Icon> icon = readIcon(oneEntryFile(entry, 2, 2, 32));
  ASSERT_EQ(icon->getImageCount(), 1);
  Owned<BufferedImage> pixels(icon->toBufferedImage(0, nullptr));
  EXPECT_TRUE(pixels->hasAlpha());
  EXPECT_EQ(at(pixels.get(), 0, 0), 0x00778899u);
  EXPECT_EQ(at(pixels.get(), 1, 0), 0xFFAABBCCu);
  EXPECT_EQ(at(pixels.get(), 0, 1), 0xFF112233u);
}

TEST(Icon, EncoderSizesDepthsAndSquares) {
  Owned<EncodeSetting> setting = s::thread::make<EncodeSetting>();
  Owned<BufferedImage> wide = picture(100, 50, [](int, int) { return 0xFF3366CCu; });
  EXPECT_EQ(setting->encodeImage(wide.get()), nullptr);  // empty lists: nothing
  setting->sizes = {16, 32};
  setting->depths = {4, 32};
  Owned<s::image::IEncodedImage> encoded(setting->encodeImage(wide.get()));
  auto* icon = dynamic_cast<Icon*>(encoded.get());
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->getImageCount(), 4);
  const int expected[4][2] = {{16, 4}, {16, 32}, {32, 4}, {32, 32}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(icon->getIconImage(i)->getWidth(), expected[i][0]);
    EXPECT_EQ(icon->getIconImage(i)->getHeight(), expected[i][0]);
    EXPECT_EQ(icon->getIconImage(i)->getBitCount(), expected[i][1]);
  }
  // 100 x 50 keeping its ratio is 32 x 16, centred from row 8 on transparent black.
  Owned<BufferedImage> square(icon->toBufferedImage(3, nullptr));
  EXPECT_EQ(at(square.get(), 16, 7), 0u);
  EXPECT_EQ(at(square.get(), 16, 8), 0xFF3366CCu);
  EXPECT_EQ(at(square.get(), 16, 23), 0xFF3366CCu);
  EXPECT_EQ(at(square.get(), 16, 24), 0u);
  // Above 255 pixels: one 32-bit image whatever the depths.
  setting->sizes = {300};
  Owned<s::image::IEncodedImage> large(setting->encodeImage(wide.get()));
  ASSERT_EQ(large->getImageCount(), 1);
  EXPECT_EQ(dynamic_cast<Icon*>(large.get())->getIconImage(0)->getBitCount(), 32);
}

TEST(Icon, CreateLikeKeepsSizesAndDepths) {
  Owned<Icon> source = readIcon(written(*iconOf({{16, 8}, {32, 32}, {48, 4}, {256, 32}})));
  Owned<BufferedImageSet> set(source->toImageSet(0));
  ASSERT_EQ(set->getCount(), 4);
  Owned<s::image::IEncodedImage> like(source->createLike(set.get()));
  auto* icon = dynamic_cast<Icon*>(like.get());
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(icon->getImageCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(icon->getIconImage(i)->getWidth(), source->getIconImage(i)->getWidth());
    EXPECT_EQ(icon->getIconImage(i)->getBitCount(), source->getIconImage(i)->getBitCount());
  }
  // A single pixel image gives nothing: the encoder has no sizes.
  EXPECT_EQ(source->createLike(set->getImage(0)), nullptr);
}

TEST(Icon, DamagedEntriesAreLeftOutOrZeroFilled) {
  const std::vector<uint8_t> palette = {0, 0, 0, 0, 255, 255, 255, 0};
  const struct {
    const char* what;
    std::vector<uint8_t> entry;
    bool decodes;
  } kCases[] = {
      {"height field 1", dib(8, 1, 1, 0, palette), false},
      {"height field 0", dib(8, 0, 1, 0, palette), false},
      {"negative height", dib(8, -16, 1, 0, palette), false},
      {"width 0", dib(0, 16, 1, 0, palette), false},
      {"header of 12 bytes", dib(8, 16, 1, 0, palette, 12), false},
      {"planes 2", dib(8, 16, 1, 0, palette, 40, 2), false},
      {"7 bits", dib(8, 16, 7, 0, palette), false},
      {"huge width", dib(0x7FFFFFFF, 16, 32, 0, {}), false},
      {"empty", {}, false},
      {"PNG signature, no image", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}, false},
      // Colours used far past 256: at most 256 entries are read, the pixels are past
      // the data and stay zero.
      {"colours used 2^32 - 1", dib(8, 16, 8, 0xFFFFFFFFu, std::vector<uint8_t>(2048, 9)), true},
      {"pixels missing", dib(8, 16, 1, 2, palette), true},
      {"header of 124 bytes", dib(8, 16, 1, 2, palette, 124), true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Owned<Icon> icon = readIcon(oneEntryFile(c.entry, 8, 8, 1));
    ASSERT_EQ(icon->getImageCount(), c.decodes ? 1 : 0);
    if (!c.decodes) continue;
    Owned<BufferedImage> pixels(icon->toBufferedImage(0, nullptr));
    ASSERT_EQ(pixels->getWidth(), 8);
    ASSERT_EQ(pixels->getHeight(), 8);
    // Rows the data did not hold are zero: palette index 0, mask clear.
    EXPECT_EQ(at(pixels.get(), 3, 3) & 0xFF000000u, 0xFF000000u);
  }
  // A damaged entry before a good one: the good one is kept, and read reports the
  // damage.
  Owned<Icon> good = iconOf({{16, 8}});
  const std::vector<uint8_t> goodFile = written(*good);
  const std::vector<uint8_t> goodData(goodFile.begin() + 22, goodFile.end());
  const std::vector<uint8_t> bad = dib(8, 1, 1, 0, palette);
  testing_streams::ByteWriter w;
  w.u16(0).u16(1).u16(2)
      .u8(32).u8(32).u8(0).u8(0).u16(1).u16(32).u32(static_cast<uint32_t>(bad.size())).u32(38)
      .u8(16).u8(16).u8(0).u8(0).u16(1).u16(8).u32(static_cast<uint32_t>(goodData.size()))
      .u32(static_cast<uint32_t>(38 + bad.size()))
      .raw(bad).raw(goodData);
  testing_streams::MemoryInputStream in(w.bytes);
  Owned<Icon> mixed(Icon::create());
  EXPECT_FALSE(mixed->read(in));
  ASSERT_EQ(mixed->getImageCount(), 1);
  EXPECT_EQ(mixed->getWidth(), 16);
}

}  // namespace
