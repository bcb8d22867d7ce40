#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"
#include "s/io/ByteCursor.h"
#include "s/thread/Owned.h"

namespace {

using s::image::bmp::win::Bitmap;
using s::image::win::BufferedImage;
using s::thread::Owned;

// A w x h picture of distinct opaque colours.
Owned<BufferedImage> picture(int width, int height) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(x * 40);
      p[1] = static_cast<uint8_t>(y * 50);
      p[2] = static_cast<uint8_t>(200 - x * 10 - y);
      p[3] = 255;
    }
  return image;
}

std::vector<uint8_t> encode(BufferedImage* image, int bitCount, bool keepTransparency = true) {
  Owned<s::image::bmp::EncodeSetting> setting = s::thread::make<s::image::bmp::EncodeSetting>();
  setting->bitsPerPixel = bitCount;
  setting->keepTransparency = keepTransparency;
  testing_streams::MemoryOutputStream out;
  EXPECT_TRUE(image->writeBmp(out, *setting));
  return out.data;
}

Owned<BufferedImage> decode(const std::vector<uint8_t>& bytes, int* bitCount = nullptr) {
  testing_streams::MemoryInputStream in(bytes);
  Owned<Bitmap> bitmap(Bitmap::create());
  EXPECT_TRUE(bitmap->read(in));
  if (bitCount) *bitCount = bitmap->getBitCount();
  return Owned<BufferedImage>(bitmap->toBufferedImage(0, nullptr));
}

TEST(BitmapWrite, RoundTripsAtEveryDirectDepth) {
  struct Case {
    int bitCount;
    int tolerance;  // 16 bits keep 5 bits per channel
  };
  for (Case c : {Case{32, 0}, Case{24, 0}, Case{16, 8}}) {
    for (int width : {1, 2, 3, 5}) {
      SCOPED_TRACE(testing::Message() << c.bitCount << " bits, width " << width);
      Owned<BufferedImage> source = picture(width, 3);
      int bitCount = 0;
      Owned<BufferedImage> back = decode(encode(source.get(), c.bitCount), &bitCount);
      EXPECT_EQ(bitCount, c.bitCount);
      ASSERT_EQ(back->getWidth(), width);
      ASSERT_EQ(back->getHeight(), 3);
      EXPECT_FALSE(back->hasAlpha());
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width * 4; ++x)
          EXPECT_NEAR(back->getLine(y)[x], source->getLine(y)[x], c.tolerance) << x << "," << y;
    }
  }
}

TEST(BitmapWrite, HeaderFieldsOfA24BitPictureThreePixelsWide) {
  Owned<BufferedImage> source = picture(3, 2);
  std::vector<uint8_t> file = encode(source.get(), 24);
  s::io::ByteCursor c(file.data(), file.size());
  EXPECT_EQ(c.u16(), 0x4D42);          // "BM"
  EXPECT_EQ(c.u32(), 54u + 12 * 2);    // file size: rows of 12 bytes (9 padded)
  EXPECT_EQ(c.u32(), 0u);              // reserved
  EXPECT_EQ(c.u32(), 54u);             // pixel offset: no colour table
  EXPECT_EQ(c.u32(), 40u);             // header size
  EXPECT_EQ(c.s32(), 3);               // width
  EXPECT_EQ(c.s32(), 2);               // height, bottom-up
  EXPECT_EQ(c.u16(), 1);               // planes
  EXPECT_EQ(c.u16(), 24);              // bit count
  EXPECT_EQ(c.u32(), 0u);              // compression
  EXPECT_EQ(c.u32(), 18u);             // image size: 9 x 2, unpadded
  c.skip(8);
  EXPECT_EQ(c.u32(), 0u);              // colours used
  EXPECT_EQ(file.size(), 54u + 24u);
}

TEST(BitmapWrite, TransparencyKeptAt32BitsAndComposedOnTheBackgroundOtherwise) {
  Owned<BufferedImage> source(BufferedImage::create());
  source->create(2, 1);
  const uint8_t pixels[8] = {0, 0, 255, 0,     // red, fully transparent
                             255, 0, 0, 128};  // blue, half transparent
  std::memcpy(source->getLine(0), pixels, 8);
  source->setAlpha(true);

  Owned<BufferedImage> kept = decode(encode(source.get(), 32));
  EXPECT_TRUE(kept->hasAlpha());
  // The transparent pixel took the background colour (white), alpha 0.
  EXPECT_EQ(kept->getLine(0)[0], 255);
  EXPECT_EQ(kept->getLine(0)[2], 255);
  EXPECT_EQ(kept->getLine(0)[3], 0);
  EXPECT_EQ(kept->getLine(0)[7], 128);

  Owned<BufferedImage> flat = decode(encode(source.get(), 24));
  EXPECT_FALSE(flat->hasAlpha());
  const uint8_t* p = flat->getLine(0);
  EXPECT_EQ(p[0], 255);  // transparent: white
  EXPECT_EQ(p[4], 255);  // blue over white at alpha 128
  EXPECT_EQ(p[5], 127);
  EXPECT_EQ(p[6], 127);
}

TEST(BitmapWrite, CreateLikeKeepsTheDepth) {
  for (int bitCount : {16, 24, 32}) {
    Owned<Bitmap> source(Bitmap::create());
    ASSERT_TRUE(source->create(4, 4, bitCount));
    Owned<BufferedImage> image = picture(2, 2);
    Owned<s::image::IEncodedImage> like(source->createLike(image.get()));
    ASSERT_TRUE(like);
    auto* bitmap = static_cast<Bitmap*>(like.get());
    EXPECT_EQ(bitmap->getBitCount(), bitCount);
    EXPECT_EQ(bitmap->getWidth(), 2);
    // 16 bits are 5-5-5, not black: the first pixel's red is 200 (top 5 bits 25).
    const uint8_t* row = bitmap->getRow(0);
    if (bitCount == 16) {
      EXPECT_EQ((row[0] | (row[1] << 8)) >> 10, 200 >> 3);
    }
  }
}

// A picture of at most `colours` distinct opaque colours.
Owned<BufferedImage> fewColours(int width, int height, int colours) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int c = (x + y * width) % colours;
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(c * 37);
      p[1] = static_cast<uint8_t>(255 - c * 11);
      p[2] = static_cast<uint8_t>(c * 5);
      p[3] = 255;
    }
  return image;
}

TEST(BitmapWrite, PaletteDepthsRoundTripPicturesThatFitTheirPalette) {
  struct Case {
    int bitCount, colours, width;
  };
  for (Case c : {Case{1, 2, 9}, Case{4, 16, 7}, Case{4, 3, 5}, Case{8, 256, 33}, Case{8, 5, 3}}) {
    SCOPED_TRACE(testing::Message() << c.bitCount << " bits, " << c.colours << " colours");
    Owned<BufferedImage> source = fewColours(c.width, 9, c.colours);
    std::vector<uint8_t> file = encode(source.get(), c.bitCount);
    // The table always declares 2^bits entries, even when fewer colours were found.
    s::io::ByteCursor header(file.data() + 46, 4);
    EXPECT_EQ(header.u32(), 1u << c.bitCount);
    int bitCount = 0;
    Owned<BufferedImage> back = decode(file, &bitCount);
    EXPECT_EQ(bitCount, c.bitCount);
    ASSERT_EQ(back->getWidth(), c.width);
    for (int y = 0; y < 9; ++y)
      EXPECT_EQ(std::memcmp(back->getLine(y), source->getLine(y), static_cast<size_t>(c.width) * 4), 0) << y;
  }
}

TEST(BitmapWrite, OneBitCreateLikeIsNotBlack) {
  Owned<Bitmap> source(Bitmap::create());
  ASSERT_TRUE(source->create(8, 8, 1));
  Owned<BufferedImage> image = fewColours(4, 4, 2);
  Owned<s::image::IEncodedImage> like(source->createLike(image.get()));
  ASSERT_TRUE(like);
  auto* bitmap = static_cast<Bitmap*>(like.get());
  EXPECT_EQ(bitmap->getBitCount(), 1);
  EXPECT_EQ(bitmap->getPaletteCount(), 2);
  Owned<BufferedImage> back(bitmap->toBufferedImage(0, nullptr));
  EXPECT_EQ(std::memcmp(back->getLine(1), image->getLine(1), 16), 0);
}

TEST(BitmapWrite, FailedBlocksAreReported) {
  Owned<BufferedImage> source = picture(4, 4);
  Owned<s::image::bmp::EncodeSetting> setting = s::thread::make<s::image::bmp::EncodeSetting>();
  for (size_t failAfter : {0u, 10u, 60u, 100u}) {
    testing_streams::MemoryOutputStream out(failAfter);
    EXPECT_FALSE(source->writeBmp(out, *setting)) << failAfter;
  }
}

}  // namespace
