// GIF frames and pixel images: canvases (centred or placed), transparency and the
// alpha threshold, animations built from image sets, small copies.
#include <gtest/gtest.h>

#include <vector>

#include "image/gif/win/GifFixtures.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using gif_fixtures::decode;
using gif_fixtures::indexAt;
using gif_fixtures::lzwBlocks;
using gif_fixtures::picture;
using gif_fixtures::pixelAt;
using s::image::gif::win::Gif;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;
using testing_streams::ByteWriter;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

std::vector<uint32_t> filled(int count, uint32_t argb) {
  return std::vector<uint32_t>(static_cast<size_t>(count), argb);
}

TEST(GifImage, FramesOfDifferentSizesAreCentredOnWhite) {
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromBufferedImage(picture(5, 4, filled(20, kRed)).get(), 8, true, 255, 255, 255, 96));
  ASSERT_TRUE(gif->fromBufferedImage(picture(2, 2, filled(4, kBlue)).get(), 8, true, 255, 255, 255, 96));
  gif->setFrameValues(1, -1, 50, 1);
  Owned<BufferedImageSet> set(gif->toImageSet(0));
  ASSERT_EQ(set->getCount(), 2);
  EXPECT_TRUE(set->isAnimated());
  EXPECT_EQ(set->getDelay(1), 50);
  EXPECT_EQ(set->getDisposal(1), 1);
  BufferedImage* small = set->getImage(1);
  ASSERT_EQ(small->getWidth(), 5);
  ASSERT_EQ(small->getHeight(), 4);
  EXPECT_FALSE(small->hasAlpha());
  // Column (5 - 2) / 2 = 1, row (4 - 2) / 2 = 1.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(pixelAt(small, x, y), (x >= 1 && x <= 2 && y >= 1 && y <= 2) ? kBlue : kWhite) << x << "," << y;
}

// A 4 x 3 screen: a full red frame, then a 2 x 2 frame [index 1, 2 / 2, 1] at (2, 1)
// drawn over it (disposal 1), the last one partly outside the screen at (3, 2).
std::vector<uint8_t> partialUpdateFixture() {
  ByteWriter w;
  w.text("GIF89a").u16(4).u16(3);  // screen
  w.u8(0x81).u8(0).u8(0);          // global table of 4 entries
  w.u8(255).u8(0).u8(0).u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).u8(0).u8(0).u8(0);  // red, blue, green, black
  auto frame = [&w](int left, int top, int width, int height, const std::vector<uint8_t>& indices) {
    w.u8(0x21).u8(0xF9).u8(4).u8(0x04).u16(10).u8(0).u8(0);  // disposal 1, delay 10, no transparency
    w.u8(0x2C).u16(left).u16(top).u16(width).u16(height).u8(0);
    w.u8(2).raw(lzwBlocks(2, indices, width, height));
  };
  frame(0, 0, 4, 3, std::vector<uint8_t>(12, 0));
  frame(2, 1, 2, 2, {1, 2, 2, 1});
  frame(3, 2, 2, 2, {3, 3, 3, 3});
  w.u8(0x3B);
  return w.bytes;
}

TEST(GifImage, FramesArePlacedAtTheirPositionOnTheScreen) {
  auto result = decode(partialUpdateFixture());
  ASSERT_TRUE(result.ok);
  Owned<BufferedImageSet> set(result.gif->toImageSet(0));
  ASSERT_EQ(set->getCount(), 3);
  BufferedImage* second = set->getImage(1);
  ASSERT_EQ(second->getWidth(), 4);
  ASSERT_EQ(second->getHeight(), 3);
  EXPECT_TRUE(second->hasAlpha());
  EXPECT_EQ(pixelAt(second, 0, 0), 0u);  // not covered: transparent
  EXPECT_EQ(pixelAt(second, 2, 1), kBlue);
  EXPECT_EQ(pixelAt(second, 3, 1), 0xFF00FF00u);
  // Only the top-left pixel of the last frame is on the screen.
  EXPECT_EQ(pixelAt(set->getImage(2), 3, 2), 0xFF000000u);
  EXPECT_EQ(pixelAt(set->getImage(2), 2, 2), 0u);

  // Drawn over their predecessors, the frames give the intended pictures.
  Owned<BufferedImageSet> composed(set->composeFrames());
  const std::vector<uint32_t> expected = {kRed, kRed, kRed,  kRed,        //
                                          kRed, kRed, kBlue, 0xFF00FF00,  //
                                          kRed, kRed, 0xFF00FF00, 0xFF000000};
  EXPECT_EQ(gif_fixtures::pixels(composed->getImage(2)), expected);
}

TEST(GifImage, FramesCoveringTheScreenKeepTheirOwnPixels) {
  auto result = decode(partialUpdateFixture());
  // Frame 0 covers the screen exactly: its picture is the frame itself.
  Owned<BufferedImageSet> set(result.gif->toImageSet(0));
  EXPECT_FALSE(set->getImage(0)->hasAlpha());
  EXPECT_EQ(gif_fixtures::pixels(set->getImage(0)), filled(12, kRed));
}

TEST(GifImage, AlphaThresholdAtDepthFour) {
  // Alpha 95 becomes transparent (index 16, after the 16 colours of depth 4); alpha
  // 96 and 255 stay opaque.
  Owned<BufferedImage> image = picture(3, 1, {0x5FFF0000, 0x60FF0000, 0xFF00FF00});
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromBufferedImage(image.get(), 4, true, 255, 255, 255, Gif::kAlphaThreshold));
  EXPECT_EQ(gif->getFrame(0).transparentIndex, 16);
  EXPECT_EQ(indexAt(gif.get(), 0, 0, 0), 16);
  EXPECT_LT(indexAt(gif.get(), 0, 1, 0), 16);
  EXPECT_LT(indexAt(gif.get(), 0, 2, 0), 16);
  Owned<BufferedImage> back(gif->toBufferedImage(0, nullptr));
  EXPECT_EQ(pixelAt(back.get(), 0, 0) >> 24, 0u);
  EXPECT_EQ(pixelAt(back.get(), 1, 0), kRed);  // the colour kept, made opaque
  EXPECT_EQ(pixelAt(back.get(), 2, 0), 0xFF00FF00u);
  // The caller's picture is not changed.
  EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x5FFF0000u);
}

TEST(GifImage, WithoutKeepingTransparencyThePictureIsComposedOntoTheColour) {
  Owned<BufferedImage> image = picture(2, 1, {0x00000000, 0xFF0000FF});
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromBufferedImage(image.get(), 8, false, 0, 255, 0, Gif::kAlphaThreshold));
  EXPECT_EQ(gif->getFrame(0).transparentIndex, -1);
  Owned<BufferedImage> back(gif->toBufferedImage(0, nullptr));
  EXPECT_EQ(pixelAt(back.get(), 0, 0), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(back.get(), 1, 0), kBlue);
}

TEST(GifImage, DepthsOutsideOneToEightAreTakenAsEight) {
  for (int depth : {0, -3, 9}) {
    Owned<Gif> gif(Gif::create());
    ASSERT_TRUE(gif->fromBufferedImage(picture(1, 1, {0x80FF0000}).get(), depth, true, 255, 255, 255, 96));
    EXPECT_EQ(gif->getFrame(0).transparentIndex, 255);
  }
}

Owned<BufferedImageSet> threeFrameAnimation() {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(picture(3, 2, filled(6, kRed)).detach(), 8, 100, 2);
  set->add(picture(3, 2, {kRed, kBlue, kRed, kRed, kRed, kRed}).detach(), 8, 200, 0);
  set->add(picture(3, 2, {kRed, kBlue, kRed, kRed, kRed, kBlue}).detach(), 8, 300, 0);
  set->setAnimation(true, 3);
  return set;
}

TEST(GifImage, AnAnimatedSetBecomesFramesOfChanges) {
  Owned<BufferedImageSet> set = threeFrameAnimation();
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromImageSet(set.get(), 8, true, 255, 255, 255));
  ASSERT_EQ(gif->getFrameCount(), 3);
  EXPECT_EQ(gif->getLoopCount(), 3);
  const int delays[] = {100, 200, 300};
  // Every frame is drawn over the one before; the set's 2 for the first frame would
  // only clear what the next frame covers anyway.
  const int disposals[] = {1, 1, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(gif->getFrame(i).delay, delays[i]);
    EXPECT_EQ(gif->getFrame(i).disposal, disposals[i]);
  }
  // Frame 2 holds only the pixel that changed; the rest is transparent.
  Owned<BufferedImage> last(gif->toBufferedImage(2, nullptr));
  EXPECT_EQ(pixelAt(last.get(), 2, 1), kBlue);
  EXPECT_EQ(pixelAt(last.get(), 1, 0) >> 24, 0u);
  // Composed again, the frames are the pictures of the set.
  Owned<BufferedImageSet> back(gif->toImageSet(0));
  Owned<BufferedImageSet> composed(back->composeFrames());
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(gif_fixtures::pixels(composed->getImage(i)), gif_fixtures::pixels(set->getImage(i))) << i;
}

TEST(GifImage, AFrameTransparentWhereTheOneBeforeWasNotFollowsAClearedScreen) {
  // Drawn over the red frame, the second picture could not be transparent at (0, 0):
  // the first frame is cleared after it (2) and the second holds its whole picture,
  // red included. The third is opaque again and holds only what changed.
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(picture(3, 2, filled(6, kRed)).detach(), 8, 10, 1);
  set->add(picture(3, 2, {0, kRed, kRed, kRed, kBlue, kRed}).detach(), 8, 20, 1);
  set->add(picture(3, 2, {kBlue, kRed, kRed, kRed, kBlue, kRed}).detach(), 8, 30, 1);
  set->setAnimation(true, 0);
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromImageSet(set.get(), 8, true, 255, 255, 255));
  ASSERT_EQ(gif->getFrameCount(), 3);
  const int disposals[] = {2, 1, 1};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gif->getFrame(i).disposal, disposals[i]) << i;
  Owned<BufferedImage> second(gif->toBufferedImage(1, nullptr));
  EXPECT_EQ(pixelAt(second.get(), 0, 0) >> 24, 0u);
  EXPECT_EQ(pixelAt(second.get(), 1, 0), kRed);
  Owned<BufferedImage> third(gif->toBufferedImage(2, nullptr));
  EXPECT_EQ(pixelAt(third.get(), 0, 0), kBlue);
  EXPECT_EQ(pixelAt(third.get(), 1, 0) >> 24, 0u);

  // Composed as a viewer does, the written frames are the pictures of the set.
  testing_streams::MemoryOutputStream out;
  ASSERT_TRUE(gif->write(out));
  auto read = decode(out.data);
  Owned<BufferedImageSet> frames(read.gif->toImageSet(0));
  Owned<BufferedImageSet> composed(frames->composeFrames());
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(gif_fixtures::pixels(composed->getImage(i)), gif_fixtures::pixels(set->getImage(i))) << i;
}

TEST(GifImage, ASmallCopyOfAnAnimationStaysAnimated) {
  Owned<BufferedImageSet> set = threeFrameAnimation();
  Owned<Gif> source(Gif::create());
  ASSERT_TRUE(source->fromImageSet(set.get(), 8, true, 255, 255, 255));
  testing_streams::MemoryOutputStream out;
  ASSERT_TRUE(source->write(out));
  auto read = decode(out.data);
  ASSERT_TRUE(read.ok);

  Owned<BufferedImageSet> frames(read.gif->toImageSet(0));
  Owned<BufferedImageSet> small(frames->scaledSet(2, 1, false));
  Owned<s::image::IEncodedImage> copy(read.gif->createLike(small.get()));
  ASSERT_TRUE(copy);
  auto* gif = dynamic_cast<Gif*>(copy.get());
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(gif->getFrameCount(), 3);
  EXPECT_EQ(gif->getWidth(), 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gif->getFrame(i).delay, (i + 1) * 100);

  // One picture, or a set that is not animated, gives one frame.
  Owned<s::image::IEncodedImage> still(read.gif->createLike(set->getImage(0)));
  ASSERT_TRUE(still);
  EXPECT_EQ(still->getImageCount(), 1);
  set->setAnimation(false, 1);
  Owned<s::image::IEncodedImage> fromStillSet(read.gif->createLike(set.get()));
  EXPECT_EQ(fromStillSet->getImageCount(), 1);
}

TEST(GifImage, EncodeSettingWritesThroughThePixelImage) {
  Owned<BufferedImage> image = picture(2, 2, {kRed, kBlue, 0x00000000, kWhite});
  Owned<s::image::gif::EncodeSetting> setting = s::thread::make<s::image::gif::EncodeSetting>();
  setting->bitsPerPixel = 2;
  testing_streams::MemoryOutputStream out;
  ASSERT_TRUE(image->writeGif(out, *setting));
  auto result = decode(out.data);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.gif->getFrame(0).transparentIndex, 4);  // after the 4 colours of depth 2
  Owned<BufferedImage> back(result.gif->toBufferedImage(0, nullptr));
  EXPECT_EQ(pixelAt(back.get(), 0, 0), kRed);
  EXPECT_EQ(pixelAt(back.get(), 1, 0), kBlue);
  EXPECT_EQ(pixelAt(back.get(), 0, 1) >> 24, 0u);
  EXPECT_EQ(pixelAt(back.get(), 1, 1), kWhite);
}

TEST(GifImage, FindOperationsSearchTheFrames) {
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->fromBufferedImage(picture(4, 4, filled(16, kRed)).get(), 8, true, 255, 255, 255, 96));
  ASSERT_TRUE(gif->fromBufferedImage(picture(2, 2, filled(4, kRed)).get(), 8, true, 255, 255, 255, 96));
  int index = -1;
  EXPECT_TRUE(gif->findExactImage(2, 2, 8, &index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(gif->findExactImage(2, 2, 4, &index));
  EXPECT_TRUE(gif->findNearestBySize(3, 3, 8, &index));
  EXPECT_EQ(index, 1);
}

}  // namespace
