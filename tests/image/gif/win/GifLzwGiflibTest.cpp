// Cross-checks with giflib, where the build found it: streams written by either
// implementation decode to the same pixels with both.
#if defined(PICTORVA_HAVE_GIFLIB) && __has_include(<gif_lib.h>)

#include <gtest/gtest.h>

#include <random>

#include "image/gif/win/GiflibPeer.h"
#include "image/gif/win/LzwTestSupport.h"
#include "s/image/gif/win/GifLzw.h"

namespace {

using namespace lzwtest;
using s::image::gif::win::GifLzw;
using s::image::gif::win::GifLzwDecodeStatus;
using s::image::gif::win::GifLzwTarget;

struct Shape {
  int width, height, runLength;
};
const Shape kShapes[] = {{1, 1, 1}, {5, 3, 1}, {64, 64, 1}, {300, 200, 1}, {200, 300, 7}, {1000, 40, 500},
                         {640, 480, 3000}};

TEST(GifLzwGiflib, GiflibStreamsDecodeToTheSamePixels) {
  std::mt19937 random(21);
  for (int depth = 1; depth <= 8; ++depth) {
    for (const Shape& shape : kShapes) {
      Picture picture = randomPicture(random, shape.width, shape.height, depth, shape.runLength);
      Bytes file = giflibpeer::encode(picture.pixels.data(), shape.width, shape.height, depth);
      ASSERT_FALSE(file.empty());
      int codeSize = 0;
      Bytes data;
      ASSERT_TRUE(giflibpeer::imageData(file, &codeSize, &data));
      Bytes ours(picture.pixels.size(), 0xEE);
      auto result = GifLzw::decode(codeSize, data.data(), data.size(),
                                   GifLzwTarget{ours.data(), shape.width, shape.width, shape.height, false});
      EXPECT_EQ(result.status, GifLzwDecodeStatus::kComplete) << depth << ": " << shape.width << " x " << shape.height;
      EXPECT_EQ(ours, picture.pixels) << depth << ": " << shape.width << " x " << shape.height;
    }
  }
}

TEST(GifLzwGiflib, OurStreamsDecodeToTheSamePixelsWithGiflib) {
  std::mt19937 random(22);
  for (int depth = 1; depth <= 8; ++depth) {
    const int codeSize = depth < 2 ? 2 : depth;
    for (const Shape& shape : kShapes) {
      Picture picture = randomPicture(random, shape.width, shape.height, depth, shape.runLength);
      Bytes file = giflibpeer::wrap(codeSize, encodeBlocks(codeSize, picture.source()), shape.width, shape.height);
      Bytes theirs;
      ASSERT_TRUE(giflibpeer::decode(file, &theirs)) << depth << ": " << shape.width << " x " << shape.height;
      EXPECT_EQ(theirs, picture.pixels) << depth << ": " << shape.width << " x " << shape.height;
    }
  }
}

}  // namespace

#endif
