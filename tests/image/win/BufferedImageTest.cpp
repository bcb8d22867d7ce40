#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "s/image/filters/IFilter.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace {

using s::image::win::BufferedImage;
using s::thread::Owned;

Owned<BufferedImage> image(int width, int height) {
  Owned<BufferedImage> result(BufferedImage::create());
  result->create(width, height);
  return result;
}

uint32_t pixel(const BufferedImage* img, int x, int y) {
  uint32_t value;
  std::memcpy(&value, img->getLine(y) + 4 * x, 4);
  return value;
}

void setPixel(BufferedImage* img, int x, int y, uint32_t value) { std::memcpy(img->getLine(y) + 4 * x, &value, 4); }

// Pixel (x, y) = 0xFF000000 | y << 8 | x: every pixel says where it is.
Owned<BufferedImage> numbered(int width, int height) {
  Owned<BufferedImage> img = image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) setPixel(img.get(), x, y, 0xFF000000u | (y << 8) | x);
  return img;
}

TEST(BufferedImage, RowsAreAddressedFromTheTopOfTheCapacity) {
  Owned<BufferedImage> img = image(10, 10);
  img->setSize(4, 5);
  EXPECT_EQ(img->getLine(0), img->getBits() + 9 * 40);
  EXPECT_EQ(img->getLine(4), img->getBits() + 5 * 40);
  EXPECT_EQ(img->getRowBytes(), 16);
  EXPECT_EQ(img->getCapacityRowBytes(), 40);
  EXPECT_EQ(img->getPixelCount(), 20);
  EXPECT_EQ(img->getByteCount(), 80);
  // The logical size never leaves the capacity.
  img->setSize(50, -1);
  EXPECT_EQ(img->getWidth(), 10);
  EXPECT_EQ(img->getHeight(), 0);
}

TEST(BufferedImage, EnsureCapacityTakesTheRequestedSizeAndKeepsThePicture) {
  Owned<BufferedImage> img = image(4, 5);
  img->setSize(0, 0);
  img->ensureCapacity(8, 3);
  EXPECT_EQ(img->getCapacityWidth(), 8);
  EXPECT_EQ(img->getCapacityHeight(), 3);

  Owned<BufferedImage> kept = numbered(3, 2);
  kept->ensureCapacity(6, 4);
  EXPECT_EQ(kept->getWidth(), 3);
  EXPECT_EQ(kept->getHeight(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(pixel(kept.get(), x, y), 0xFF000000u | (y << 8) | x);
  // Smaller in one dimension than the picture: only what fits is kept.
  kept->ensureCapacity(8, 1);
  EXPECT_EQ(kept->getWidth(), 3);
  EXPECT_EQ(kept->getHeight(), 1);
  EXPECT_EQ(pixel(kept.get(), 2, 0), 0xFF000002u);
}

TEST(BufferedImage, GrowCapacityStepsBy1Point2) {
  struct Case {
    int capacity, request, expected;
  };
  for (Case c : {Case{100, 150, 172}, Case{0, 150, 150}, Case{100, 101, 120}, Case{100, 100, 100}}) {
    Owned<BufferedImage> img(BufferedImage::create());
    if (c.capacity) img->create(c.capacity, 1);
    BufferedImage::growCapacity(img.get(), c.request, 1);
    EXPECT_EQ(img->getCapacityWidth(), c.expected) << c.capacity << " -> " << c.request;
  }
  // Past the int range the size is clamped and the raster refused: size 0.
  Owned<BufferedImage> big = image(1000, 1);
  BufferedImage::growCapacity(big.get(), 2147483000, 1);
  EXPECT_EQ(big->getCapacityWidth(), 0);
  EXPECT_EQ(big->getWidth(), 0);
}

TEST(BufferedImage, CreateRefusesImpossibleSizes) {
  for (auto size : {std::pair{0, 5}, std::pair{-1, 5}, std::pair{70000, 70000}}) {
    Owned<BufferedImage> img(BufferedImage::create());
    EXPECT_FALSE(img->create(size.first, size.second));
    EXPECT_EQ(img->getWidth(), 0);
    EXPECT_EQ(img->getBits(), nullptr);
  }
}

TEST(BufferedImage, RotationsAndMirrorsOverAGrid) {
  struct Case {
    const char* name;
    BufferedImage* (BufferedImage::*op)(BufferedImage*) const;
    bool swaps;
    // target (x, y) comes from source (sx, sy) of a W x H source
    void (*from)(int W, int H, int x, int y, int* sx, int* sy);
  };
  const Case cases[] = {
      {"rotateRight", &BufferedImage::rotateRight, true,
       [](int, int H, int x, int y, int* sx, int* sy) { *sx = y, *sy = H - 1 - x; }},
      {"rotate180", &BufferedImage::rotate180, false,
       [](int W, int H, int x, int y, int* sx, int* sy) { *sx = W - 1 - x, *sy = H - 1 - y; }},
      {"rotateLeft", &BufferedImage::rotateLeft, true,
       [](int W, int, int x, int y, int* sx, int* sy) { *sx = W - 1 - y, *sy = x; }},
      {"mirror", &BufferedImage::mirror, false,
       [](int W, int, int x, int y, int* sx, int* sy) { *sx = W - 1 - x, *sy = y; }},
      {"flip", &BufferedImage::flip, false,
       [](int, int H, int x, int y, int* sx, int* sy) { *sx = x, *sy = H - 1 - y; }},
  };
  for (const Case& c : cases) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{2, 5}}) {
      SCOPED_TRACE(testing::Message() << c.name << " " << w << "x" << h);
      Owned<BufferedImage> source = numbered(w, h);
      // Once into a new image, once into a reused larger target, once in place.
      Owned<BufferedImage> fresh(((*source).*c.op)(nullptr));
      Owned<BufferedImage> reused = image(9, 9);
      ((*source).*c.op)(reused.get());
      Owned<BufferedImage> inPlace = numbered(w, h);
      ((*inPlace).*c.op)(inPlace.get());
      for (BufferedImage* result : {fresh.get(), reused.get(), inPlace.get()}) {
        ASSERT_EQ(result->getWidth(), c.swaps ? h : w);
        ASSERT_EQ(result->getHeight(), c.swaps ? w : h);
        for (int y = 0; y < result->getHeight(); ++y)
          for (int x = 0; x < result->getWidth(); ++x) {
            int sx, sy;
            c.from(w, h, x, y, &sx, &sy);
            EXPECT_EQ(pixel(result, x, y), pixel(source.get(), sx, sy));
          }
      }
    }
  }
}

TEST(BufferedImage, AlphaFlagOperations) {
  Owned<BufferedImage> img = image(2, 2);
  BufferedImage::fill(img.get(), 255, 1, 2, 3);
  EXPECT_FALSE(img->hasAlpha());
  EXPECT_EQ(pixel(img.get(), 1, 1), 0xFF010203u);
  BufferedImage::fill(img.get(), 0, 1, 2, 3);
  EXPECT_TRUE(img->hasAlpha());
  BufferedImage::setOpaque(img.get());
  EXPECT_FALSE(img->hasAlpha());

  setPixel(img.get(), 0, 0, 0xFF0000FF);
  BufferedImage::applyColourKey(img.get(), 0, 0, 255);
  EXPECT_TRUE(img->hasAlpha());
  EXPECT_EQ(pixel(img.get(), 0, 0), 0x000000FFu);
  EXPECT_EQ(pixel(img.get(), 1, 0), 0xFF010203u);
  BufferedImage::recolourTransparent(img.get(), 9, 8, 7);
  EXPECT_EQ(pixel(img.get(), 0, 0), 0x00090807u);

  setPixel(img.get(), 0, 1, 0x40102030);
  BufferedImage::thresholdAlpha(img.get(), 0x41);
  EXPECT_EQ(pixel(img.get(), 0, 1) >> 24, 0u);
  EXPECT_EQ(pixel(img.get(), 1, 1) >> 24, 255u);
  EXPECT_TRUE(img->hasAlpha());
  BufferedImage::detectAlpha(img.get());
  EXPECT_TRUE(img->hasAlpha());
}

TEST(BufferedImage, MaskByImageClearsMatchingColoursOnly) {
  Owned<BufferedImage> img = numbered(3, 2);
  Owned<BufferedImage> mask = numbered(2, 2);  // narrower: column 2 is never compared
  setPixel(mask.get(), 1, 1, 0xFF777777);
  BufferedImage::maskByImage(img.get(), mask.get());
  EXPECT_TRUE(img->hasAlpha());
  EXPECT_EQ(pixel(img.get(), 0, 0) >> 24, 0u);
  EXPECT_EQ(pixel(img.get(), 1, 1) >> 24, 255u);
  EXPECT_EQ(pixel(img.get(), 2, 1) >> 24, 255u);
}

TEST(BufferedImage, FlattenOnWhite) {
  Owned<BufferedImage> img = image(3, 1);
  setPixel(img.get(), 0, 0, 0x80000000);  // black at alpha 128
  setPixel(img.get(), 1, 0, 0x00123456);  // transparent
  setPixel(img.get(), 2, 0, 0xFF123456);  // opaque
  img->setAlpha(true);
  BufferedImage::flattenOnWhite(img.get());
  EXPECT_EQ(pixel(img.get(), 0, 0), 0xFF7F7F7Fu);
  EXPECT_EQ(pixel(img.get(), 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(pixel(img.get(), 2, 0), 0xFF123456u);
  EXPECT_FALSE(img->hasAlpha());
}

TEST(BufferedImage, DrawImageClipsAndComposes) {
  Owned<BufferedImage> source = numbered(5, 2);
  Owned<BufferedImage> target = image(4, 4);
  BufferedImage::fill(target.get(), 255, 0, 0, 0);
  target->drawImage(-3, 1, 0, 0, source.get(), 0, 0, false);
  EXPECT_EQ(pixel(target.get(), 0, 1), pixel(source.get(), 3, 0));
  EXPECT_EQ(pixel(target.get(), 1, 2), pixel(source.get(), 4, 1));
  EXPECT_EQ(pixel(target.get(), 2, 1), 0xFF000000u);  // past the source's right edge
  EXPECT_EQ(pixel(target.get(), 0, 0), 0xFF000000u);
  // Far outside: nothing drawn, nothing overflows.
  target->drawImage(INT32_MIN, INT32_MAX, 0, 0, source.get(), INT32_MAX, 0, false);

  // Half-transparent red over opaque black.
  Owned<BufferedImage> red = image(1, 1);
  setPixel(red.get(), 0, 0, 0x80FF0000);
  red->setAlpha(true);
  target->drawImage(3, 3, 0, 0, red.get(), 0, 0, false);
  EXPECT_EQ(pixel(target.get(), 3, 3), 0xFF7F0000u);
  EXPECT_FALSE(target->hasAlpha());
}

TEST(BufferedImage, ScaledCopyReturnsItselfOrItsCache) {
  Owned<BufferedImage> img = numbered(8, 4);
  EXPECT_EQ(img->scaledCopy(8, 4, false), img.get());
  BufferedImage* half = img->scaledCopy(4, 2, false);
  EXPECT_NE(half, img.get());
  EXPECT_EQ(img->scaledCopy(4, 2, false), half);
  EXPECT_EQ(img->getScaledCache(), half);
  // Keeping the ratio fits the result inside the box.
  BufferedImage* fitted = img->scaledCopy(4, 4, true);
  EXPECT_EQ(fitted->getWidth(), 4);
  EXPECT_EQ(fitted->getHeight(), 2);
  // An empty picture is never handed to the resampler.
  Owned<BufferedImage> empty(BufferedImage::create());
  EXPECT_EQ(empty->scaledCopy(10, 10, true), empty.get());
}

TEST(BufferedImage, CopyToIsExact) {
  Owned<BufferedImage> source = numbered(3, 3);
  source->setAlpha(true);
  Owned<BufferedImage> copy(source->copyTo(nullptr));
  Owned<BufferedImage> into = image(1, 1);
  source->copyTo(into.get());
  for (BufferedImage* result : {copy.get(), into.get()}) {
    EXPECT_TRUE(result->hasAlpha());
    ASSERT_EQ(result->getWidth(), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(pixel(result, x, y), pixel(source.get(), x, y));
  }
}

// A filter that inverts the colours; counts its releases.
int releases = 0;
class FilterBase : public s::image::filters::IFilter {};
class Invert final : public s::thread::PooledObject<Invert, FilterBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_test_Invert";
  static constexpr char16_t kId[] = u"SCALE";
  const char16_t* getFilterId() const override { return kId; }
  bool isAutoRelease() const override { return autoRelease_; }
  void setAutoRelease(bool autoRelease) override { autoRelease_ = autoRelease; }
  BufferedImage* apply(BufferedImage* source, BufferedImage* output) override {
    ++applied;
    if (passThrough) return source;
    source->copyTo(output);
    for (int y = 0; y < output->getHeight(); ++y)
      for (int x = 0; x < output->getWidth() * 4; ++x)
        if (x % 4 != 3) output->getLine(y)[x] = static_cast<uint8_t>(~output->getLine(y)[x]);
    return output;
  }
  void reset() override {
    ++releases;
    autoRelease_ = true;
    applied = 0;
    passThrough = false;
  }
  int applied = 0;
  bool passThrough = false;

 private:
  bool autoRelease_ = true;
};

TEST(BufferedImage, FilterChainAppliesInOrderAndOwnsAutoReleaseFilters) {
  Owned<BufferedImage> img = numbered(2, 2);
  Invert* first = Invert::create();
  Invert* second = Invert::create();
  Invert* kept = Invert::create();
  kept->setAutoRelease(false);
  img->addFilter(first);
  img->addFilter(second);
  BufferedImage* result = img->getFiltered();
  ASSERT_NE(result, nullptr);
  // Two inversions give the picture back, each filter ran once.
  EXPECT_EQ(pixel(result, 1, 1), pixel(img.get(), 1, 1));
  EXPECT_EQ(first->applied, 1);
  EXPECT_EQ(img->getFiltered(), result);
  EXPECT_EQ(second->applied, 1);

  img->insertFilter(0, kept);
  EXPECT_EQ(img->getFilter(0), kept);
  EXPECT_NE(pixel(img->getFiltered(), 0, 0), pixel(img.get(), 0, 0));  // three inversions

  // Identity, not text: the same characters stored elsewhere find nothing.
  const char16_t elsewhere[] = u"SCALE";
  int index = -7;
  EXPECT_FALSE(img->findFilter(elsewhere, &index));
  EXPECT_EQ(index, -7);
  EXPECT_TRUE(img->findFilter(Invert::kId, &index));
  EXPECT_EQ(index, 0);

  releases = 0;
  img->removeFilter(0);  // not auto-release: stays with us
  EXPECT_EQ(releases, 0);
  img->clearFilters();  // both auto-release filters go back to their pool
  EXPECT_EQ(releases, 2);
  EXPECT_FALSE(img->hasFilters());
  kept->release();
}

TEST(BufferedImage, PassThroughFilterNeverHandsOutTheImageItself) {
  Owned<BufferedImage> img = numbered(2, 2);
  Invert* filter = Invert::create();
  filter->passThrough = true;
  img->addFilter(filter);
  BufferedImage* result = img->applyFilters();
  ASSERT_NE(result, nullptr);
  EXPECT_NE(result, img.get());
  EXPECT_EQ(pixel(result, 1, 0), pixel(img.get(), 1, 0));
}

}  // namespace
