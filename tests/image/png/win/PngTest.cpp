// The PNG codec's own behaviour: exact round trips, what createLike writes,
// transparency handling, the size limit, and failures of the streams.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/png/win/Png.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

using s::image::png::win::Png;
using s::image::win::BufferedImage;
using s::thread::Owned;
using testing_streams::MemoryInputStream;
using testing_streams::MemoryOutputStream;

// Every channel of every pixel differs from its neighbours, alpha included.
void paint(Png& png, int width, int height) {
  ASSERT_TRUE(png.create(width, height));
  uint32_t state = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 4 * width; ++x) {
      state = state * 1103515245 + 12345;
      png.getRow(y)[x] = static_cast<uint8_t>(state >> 16);
    }
}

std::vector<uint8_t> encode(Png& png) {
  MemoryOutputStream out;
  EXPECT_TRUE(png.write(out));
  return out.data;
}

// A chunk with its length and CRC.
void appendChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
  testing_streams::ByteWriter w;
  const uint32_t length = static_cast<uint32_t>(data.size());
  w.u8(length >> 24).u8(length >> 16).u8(length >> 8).u8(length).text(type).raw(data);
  uint32_t crc = crc32(0, w.bytes.data() + 4, static_cast<uInt>(w.bytes.size() - 4));
  w.u8(crc >> 24).u8(crc >> 16).u8(crc >> 8).u8(crc);
  file.insert(file.end(), w.bytes.begin(), w.bytes.end());
}

std::vector<uint8_t> ihdrOnly(uint32_t width, uint32_t height) {
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  testing_streams::ByteWriter ihdr;
  ihdr.u8(width >> 24).u8(width >> 16).u8(width >> 8).u8(width);  // big-endian width
  ihdr.u8(height >> 24).u8(height >> 16).u8(height >> 8).u8(height);
  ihdr.u8(8).u8(6).u8(0).u8(0).u8(0);  // depth 8, RGBA, deflate, filter 0, no interlace
  appendChunk(file, "IHDR", ihdr.bytes);
  appendChunk(file, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});  // empty deflate stream
  appendChunk(file, "IEND", {});
  return file;
}

TEST(Png, RoundTripsExactly) {
  const struct {
    int width, height;
    bool interlace;
  } kCases[] = {{1, 1, false}, {1, 1, true}, {3, 5, false}, {3, 5, true}, {33, 17, true}, {64, 2, false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (c.interlace ? " interlaced" : ""));
    Owned<Png> original(Png::create());
    paint(*original, c.width, c.height);
    original->setInterlace(c.interlace);
    std::vector<uint8_t> bytes = encode(*original);
    ASSERT_GT(bytes.size(), 28u);
    EXPECT_EQ(bytes[28], c.interlace ? 1 : 0);  // IHDR interlace method
    MemoryInputStream in(bytes);
    Owned<Png> back(Png::create());
    ASSERT_TRUE(back->read(in));
    ASSERT_EQ(back->getWidth(), c.width);
    ASSERT_EQ(back->getHeight(), c.height);
    for (int y = 0; y < c.height; ++y)
      ASSERT_EQ(0, std::memcmp(back->getRow(y), original->getRow(y), static_cast<size_t>(c.width) * 4)) << "row " << y;
  }
}

TEST(Png, CreateLikeWritesInterlacedRgbaAndKeepsAlpha) {
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(4, 3));
  BufferedImage::fill(image.get(), 255, 10, 20, 30);
  image->getLine(1)[4 * 2 + 3] = 0;  // one transparent pixel
  image->setAlpha(true);
  Owned<Png> source(Png::create());
  Owned<s::image::IEncodedImage> made(source->createLike(image.get()));
  ASSERT_TRUE(made);
  MemoryOutputStream out;
  ASSERT_TRUE(made->write(out));
  ASSERT_GT(out.data.size(), 28u);
  EXPECT_EQ(out.data[24], 8);  // bit depth
  EXPECT_EQ(out.data[25], 6);  // colour type RGBA
  EXPECT_EQ(out.data[28], 1);  // Adam7
  MemoryInputStream in(out.data);
  Owned<Png> back(Png::create());
  ASSERT_TRUE(back->read(in));
  EXPECT_EQ(back->getRow(1)[4 * 2 + 3], 0);
  EXPECT_EQ(back->getRow(0)[2], 10);  // red byte of a BGRA pixel
  Owned<BufferedImage> decoded(back->toBufferedImage(0, nullptr));
  EXPECT_TRUE(decoded->hasAlpha());
}

TEST(Png, WhollyTransparentPicturesStayTransparent) {
  Owned<Png> png(Png::create());
  ASSERT_TRUE(png->create(3, 2));  // zeroed: transparent black
  Owned<BufferedImage> image(png->toBufferedImage(0, nullptr));
  EXPECT_TRUE(image->hasAlpha());
  EXPECT_EQ(image->getLine(1)[3], 0);
  png->getRow(0)[3] = 255;
  Owned<BufferedImage> partly(png->toBufferedImage(0, nullptr));
  EXPECT_TRUE(partly->hasAlpha());
  EXPECT_EQ(partly->getLine(0)[3], 255);
  EXPECT_EQ(partly->getLine(1)[3], 0);
}

TEST(Png, TransparencyAgainstTheBackground) {
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(2, 1));
  BufferedImage::fill(image.get(), 0, 0, 0, 0);  // fully transparent black
  image->setAlpha(true);
  Owned<Png> composed(Png::create());
  ASSERT_TRUE(composed->fromBufferedImage(image.get(), false, false, 1, 2, 3));
  const uint8_t* pixel = composed->getRow(0);
  EXPECT_EQ(pixel[0], 3);  // blue
  EXPECT_EQ(pixel[1], 2);
  EXPECT_EQ(pixel[2], 1);
  EXPECT_EQ(pixel[3], 255);
  Owned<Png> kept(Png::create());
  ASSERT_TRUE(kept->fromBufferedImage(image.get(), true, true, 1, 2, 3));
  EXPECT_EQ(kept->getRow(0)[3], 0);
  EXPECT_TRUE(kept->getInterlace());
  // An image without alpha is written opaque, whatever its fourth bytes hold.
  image->setAlpha(false);
  Owned<Png> opaque(Png::create());
  ASSERT_TRUE(opaque->fromBufferedImage(image.get(), false, true, 1, 2, 3));
  EXPECT_EQ(opaque->getRow(0)[3], 255);
}

TEST(Png, PicturesOverTheLimitAreRefusedBeforeAllocation) {
  // 40000 x 40000 pixels would need 6.4 GB; 20000 x 20000 fits the codec's limit
  // but not the caller's.
  MemoryInputStream huge(ihdrOnly(40000, 40000));
  Owned<Png> png(Png::create());
  EXPECT_FALSE(png->read(huge));
  EXPECT_EQ(png->getWidth(), 0);
  EXPECT_EQ(png->getBits(), nullptr);
  MemoryInputStream large(ihdrOnly(20000, 20000));
  EXPECT_FALSE(png->readLimited(large, int64_t{1} << 20));
  EXPECT_EQ(png->getBits(), nullptr);
  // A side longer than a raster row can hold, even for one row.
  MemoryInputStream wide(ihdrOnly(0x7FFFFFFF, 1));
  EXPECT_FALSE(png->read(wide));
  EXPECT_EQ(png->getBits(), nullptr);
}

TEST(Png, CutFilesKeepTheRowsDecodedSoFar) {
  Owned<Png> original(Png::create());
  paint(*original, 40, 40);
  std::vector<uint8_t> bytes = encode(*original);
  for (size_t keep : {bytes.size() - 12, bytes.size() / 2, size_t{40}, size_t{8}, size_t{0}}) {
    SCOPED_TRACE(keep);
    MemoryInputStream in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(keep)));
    Owned<Png> png(Png::create());
    const bool ok = png->read(in);
    // Losing only IEND keeps the picture whole; anything earlier fails.
    EXPECT_EQ(ok, keep == bytes.size() - 12);
    EXPECT_TRUE(png->getWidth() == 0 || png->getWidth() == 40);
  }
}

// Large rasters reuse freed memory uncleared: the rows a cut file never reached
// must come out clear, not show what the memory held before.
TEST(Png, RowsACutFileNeverReachedAreClearInReusedMemory) {
  constexpr int kWidth = 1100, kHeight = 1000;  // over 4 MB
  Owned<Png> original(Png::create());
  paint(*original, kWidth, kHeight);
  std::vector<uint8_t> bytes = encode(*original);
  bytes.resize(bytes.size() / 2);
  for (int attempt = 0; attempt < 2; ++attempt) {
    {
      Owned<Png> filler(Png::create());
      ASSERT_TRUE(filler->create(kWidth, kHeight));
      for (int y = 0; y < kHeight; ++y) std::memset(filler->getRow(y), 0xAB, kWidth * 4);
    }
    MemoryInputStream in(bytes);
    Owned<Png> png(Png::create());
    EXPECT_FALSE(png->read(in));
    ASSERT_EQ(png->getHeight(), kHeight);
    // The first rows are the original's; the last ones are clear.
    EXPECT_EQ(std::memcmp(png->getRow(0), original->getRow(0), kWidth * 4), 0);
    for (int y = kHeight * 3 / 4; y < kHeight; ++y) {
      const uint8_t* row = png->getRow(y);
      ASSERT_EQ(std::count(row, row + kWidth * 4, 0), kWidth * 4) << "row " << y;
    }
  }
}

TEST(Png, FailedWritesReportFailure) {
  Owned<Png> png(Png::create());
  paint(*png, 20, 20);
  const size_t full = encode(*png).size();
  for (size_t accepted : {size_t{0}, size_t{8}, size_t{40}, full - 1}) {
    SCOPED_TRACE(accepted);
    MemoryOutputStream refusing(accepted);
    EXPECT_FALSE(png->write(refusing));
  }
  Owned<Png> empty(Png::create());
  MemoryOutputStream out;
  EXPECT_FALSE(empty->write(out));
}

}  // namespace
