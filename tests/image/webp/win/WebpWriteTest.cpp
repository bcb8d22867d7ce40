// Writing WebP: lossless is exact, lossy close at quality 75, alpha and opacity
// survive, an animation keeps its frames, durations and loop count, createLike
// keeps what its source was; a stream that refuses bytes fails the write.
#include <gtest/gtest.h>

#include "io/MemoryStreams.h"
#include "image/PictureCompare.h"
#include "s/image/webp/EncodeSetting.h"
#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using picture_compare::compare;
using picture_compare::Picture;
using s::image::webp::win::Webp;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

// A picture with smooth colour, some noise and, when asked, alpha of every kind
// (opaque, transparent, partial). seed varies it.
Owned<BufferedImage> picture(int width, int height, bool withAlpha, int seed = 0) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  uint32_t noise = 12345u + static_cast<uint32_t>(seed);
  for (int y = 0; y < height; ++y) {
    uint8_t* line = image->getLine(y);
    for (int x = 0; x < width; ++x, line += 4) {
      noise = noise * 1664525u + 1013904223u;
      line[0] = static_cast<uint8_t>(x * 255 / width + seed * 40);
      line[1] = static_cast<uint8_t>(y * 255 / height);
      line[2] = static_cast<uint8_t>(128 + ((noise >> 24) & 15));
      line[3] = withAlpha ? static_cast<uint8_t>(x < width / 3 ? 255 : x < 2 * width / 3 ? 0 : 40 + y * 4) : 77;
    }
  }
  image->setAlpha(withAlpha);
  return image;
}

std::vector<uint8_t> written(Webp& webp) {
  testing_streams::MemoryOutputStream out;
  EXPECT_TRUE(webp.write(out));
  return out.data;
}

Owned<Webp> readBack(const std::vector<uint8_t>& bytes) {
  testing_streams::MemoryInputStream in(bytes);
  Owned<Webp> webp(Webp::create());
  EXPECT_TRUE(webp->read(in));
  return webp;
}

TEST(WebpWrite, LosslessIsExactLossyIsCloseAndAlphaSurvives) {
  for (const bool lossless : {true, false}) {
    for (const bool withAlpha : {true, false}) {
      SCOPED_TRACE(testing::Message() << (lossless ? "lossless" : "lossy") << (withAlpha ? " with alpha" : ""));
      Owned<BufferedImage> image = picture(64, 48, withAlpha);
      Owned<Webp> webp(Webp::create());
      ASSERT_TRUE(webp->fromBufferedImage(image.get(), 75, lossless, true, 255, 255, 255));
      Owned<Webp> back = readBack(written(*webp));
      EXPECT_EQ(back->isLossless(), lossless);
      EXPECT_EQ(back->getBitDepth(), withAlpha ? 32 : 24);
      EXPECT_FALSE(back->isAnimated());
      const Picture expected = withAlpha ? picture_compare::fromImage(image.get())
                                         : picture_compare::opaque(picture_compare::fromImage(image.get()));
      const Picture decoded = picture_compare::fromCodec(*back);
      const picture_compare::Difference difference = compare(decoded, expected);
      ASSERT_TRUE(difference.sameSize);
      if (lossless) {
        EXPECT_EQ(difference.maximum, 0) << difference.text();
      } else {
        // Quality 75 on a noisy gradient; the alpha plane is coded losslessly.
        EXPECT_LE(difference.mean, 3.0) << difference.text();
        for (size_t i = 3; i < decoded.rgba.size(); i += 4) ASSERT_EQ(decoded.rgba[i], expected.rgba[i]) << i;
      }
    }
  }
}

TEST(WebpWrite, WithoutKeptTransparencyThePictureIsComposedOntoTheBackground) {
  Owned<BufferedImage> image = picture(30, 20, true);
  Owned<Webp> webp(Webp::create());
  ASSERT_TRUE(webp->fromBufferedImage(image.get(), 75, true, false, 0, 0, 255));
  Owned<Webp> back = readBack(written(*webp));
  EXPECT_EQ(back->getBitDepth(), 24);
  const Picture decoded = picture_compare::fromCodec(*back);
  // The transparent third is the background, blue.
  EXPECT_EQ(decoded.pixel(15, 5)[0], 0);
  EXPECT_EQ(decoded.pixel(15, 5)[2], 255);
  EXPECT_EQ(decoded.pixel(15, 5)[3], 255);
}

// The picture as a file shows it: without alpha, opaque.
Picture shown(BufferedImage* image) {
  const Picture picture = picture_compare::fromImage(image);
  return image->hasAlpha() ? picture : picture_compare::opaque(picture);
}

// An animated set of different pictures with their delays (the second with alpha).
Owned<BufferedImageSet> animation(const std::vector<int>& delays) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  for (size_t i = 0; i < delays.size(); ++i)
    set->add(picture(40, 30, i == 1, static_cast<int>(i)).detach(), 32, delays[i], BufferedImageSet::kDisposeClear);
  set->setAnimation(true, 3);
  return set;
}

TEST(WebpWrite, AnAnimationKeepsItsFramesDurationsAndLoopCount) {
  const std::vector<int> delays = {40, 250, 1000};
  Owned<BufferedImageSet> set = animation(delays);
  Owned<Webp> webp(Webp::create());
  ASSERT_TRUE(webp->fromImageSet(set.get(), 75, true, true, 255, 255, 255));
  Owned<Webp> back = readBack(written(*webp));
  ASSERT_EQ(back->getFrameCount(), 3);
  EXPECT_TRUE(back->isAnimated());
  EXPECT_TRUE(back->isLossless());
  EXPECT_EQ(back->getLoopCount(), 3);
  Owned<BufferedImageSet> frames(back->toImageSet(0));
  ASSERT_EQ(frames->getCount(), 3);
  EXPECT_TRUE(frames->isAnimated());
  EXPECT_EQ(frames->getLoopCount(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(frames->getDelay(i), delays[static_cast<size_t>(i)]);
    // Composed as a viewer shows them, each frame is the picture itself (an
    // opaque one with alpha 255).
    const Picture expected = shown(set->getImage(i));
    const picture_compare::Difference difference = compare(picture_compare::fromImage(frames->getImage(i)), expected);
    EXPECT_EQ(difference.maximum, 0) << difference.text();
  }
  // The set's composition (what the gallery and convert do) changes nothing.
  Owned<BufferedImageSet> composed(frames->composeFrames());
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(compare(picture_compare::fromImage(composed->getImage(i)), shown(set->getImage(i))).maximum, 0);
}

TEST(WebpWrite, CreateLikeKeepsLosslessLossyAndAnimation) {
  for (const bool lossless : {true, false}) {
    SCOPED_TRACE(lossless ? "lossless" : "lossy");
    Owned<Webp> source(Webp::create());
    Owned<BufferedImage> image = picture(50, 40, false);
    ASSERT_TRUE(source->fromBufferedImage(image.get(), 90, lossless, true, 255, 255, 255));
    Owned<Webp> read = readBack(written(*source));
    Owned<BufferedImageSet> set(read->toImageSet(0));
    Owned<s::image::IEncodedImage> like(read->createLike(set.get()));
    auto* copy = dynamic_cast<Webp*>(like.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->isLossless(), lossless);
    EXPECT_EQ(copy->getQuality(), 75);
    EXPECT_EQ(readBack(written(*copy))->isLossless(), lossless);
  }
  // An animated source gives an animated copy with the same timing.
  Owned<Webp> animated(Webp::create());
  Owned<BufferedImageSet> frames = animation({100, 200});
  ASSERT_TRUE(animated->fromImageSet(frames.get(), 75, false, true, 255, 255, 255));
  Owned<Webp> read = readBack(written(*animated));
  Owned<BufferedImageSet> set(read->toImageSet(0));
  Owned<BufferedImageSet> composed(set->composeFrames());
  Owned<s::image::IEncodedImage> like(read->createLike(composed.get()));
  Owned<Webp> back = readBack(written(*dynamic_cast<Webp*>(like.get())));
  ASSERT_EQ(back->getFrameCount(), 2);
  EXPECT_EQ(back->getFrame(0).duration, 100);
  EXPECT_EQ(back->getFrame(1).duration, 200);
  EXPECT_FALSE(back->isLossless());
}

TEST(WebpWrite, FailuresAreReported) {
  Owned<Webp> empty(Webp::create());
  testing_streams::MemoryOutputStream out;
  EXPECT_FALSE(empty->write(out));
  Owned<BufferedImage> image = picture(20, 20, false);
  Owned<Webp> webp(Webp::create());
  ASSERT_TRUE(webp->fromBufferedImage(image.get(), 75, false, true, 255, 255, 255));
  testing_streams::MemoryOutputStream refusing(10);
  EXPECT_FALSE(webp->write(refusing));
  // The settings record builds the same codec from an image.
  Owned<s::image::webp::EncodeSetting> setting = s::thread::make<s::image::webp::EncodeSetting>();
  setting->lossless = true;
  Owned<s::image::IEncodedImage> encoded(setting->encodeImage(image.get()));
  ASSERT_NE(encoded.get(), nullptr);
  EXPECT_TRUE(dynamic_cast<Webp*>(encoded.get())->isLossless());
  EXPECT_EQ(setting->encodeImage(nullptr), nullptr);
}

}  // namespace
