// Sharpening: the kernels of the strengths, hand-worked in-place results, and every
// code path against a plain in-place loop on random pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "s/image/filters/convolution/Convolution.h"
#include "s/image/filters/VectorLevel.h"
#include "s/image/filters/sharpness/Sharpness.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

using s::image::filters::convolution::Convolution;
using s::image::filters::sharpness::Sharpness;
using s::image::win::BufferedImage;
using s::thread::Owned;
namespace level = s::image::filters;

// The convolution as a plain loop over a packed picture (rows top first), each tap
// read from the picture as it stands, so the left and upper taps see filtered pixels.
void referenceConvolve(std::vector<uint8_t>& pixels, int width, int height, const int32_t (&k)[9], int32_t divisor) {
  auto at = [&](int x, int y) {
    x = x < 0 ? 0 : (x >= width ? width - 1 : x);
    y = y < 0 ? 0 : (y >= height ? height - 1 : y);
    return &pixels[(static_cast<size_t>(y) * width + x) * 4];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int64_t sums[4] = {};
      for (int t = 0; t < 9; ++t)
        for (int c = 0; c < 4; ++c) sums[c] += int64_t{k[t]} * at(x + t % 3 - 1, y + t / 3 - 1)[c];
      for (int c = 0; c < 4; ++c) {
        int64_t value = divisor == 1 || divisor == 0 ? sums[c] : sums[c] / divisor;
        at(x, y)[c] = static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
      }
    }
  }
}

std::vector<uint8_t*> rowsOf(std::vector<uint8_t>& pixels, int width, int height) {
  std::vector<uint8_t*> rows;
  for (int y = 0; y < height; ++y) rows.push_back(&pixels[static_cast<size_t>(y) * width * 4]);
  return rows;
}

// Runs with the vector levels capped, restoring the cap afterwards.
class LevelCap {
 public:
  explicit LevelCap(level::VectorLevel cap) : saved_(level::getLevelCeiling()) { level::setLevelCeiling(cap); }
  ~LevelCap() { level::setLevelCeiling(saved_); }

 private:
  level::VectorLevel saved_;
};

std::vector<level::VectorLevel> availableLevels() {
  std::vector<level::VectorLevel> levels = {level::VectorLevel::kScalar};
  for (auto l : {level::VectorLevel::kSse2, level::VectorLevel::kAvx2})
    if (static_cast<int>(l) <= static_cast<int>(level::detectedLevel())) levels.push_back(l);
  return levels;
}

TEST(Sharpness, KernelsOfTheStrengths) {
  const struct {
    int strength;
    int32_t corner, edge, divisor;
  } kCases[] = {
      {80, 0, -144, 524}, {70, 0, -125, 600},      {100, 0, -180, 380}, {-100, 100, 200, 1600},
      {152, 0, -273, 8},  {153, 0, -273, 8},       {100000, 0, -273, 8}, {-50, 50, 100, 1000},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.strength);
    Owned<Sharpness> filter(Sharpness::newSharpness(c.strength));
    int32_t k[9];
    ASSERT_TRUE(Sharpness::kernelFor(c.strength, k));
    EXPECT_EQ(k[0], c.corner);
    EXPECT_EQ(k[1], c.edge);
    EXPECT_EQ(k[4], c.strength > 0 ? 1100 : 400);
    Owned<Convolution> kernel(Convolution::create());
    kernel->setWeights(k);
    EXPECT_EQ(kernel->getDivisor(), c.divisor);
  }
  // Strength 153 and more would make the divisor 0: they sharpen as 152 does.
  Owned<Sharpness> clamped(Sharpness::newSharpness(153));
  EXPECT_EQ(clamped->getStrength(), 152);
  int32_t none[9];
  EXPECT_FALSE(Sharpness::kernelFor(0, none));
}

TEST(Sharpness, InPlaceOrderOnABrightPixel) {
  // Grey 100 with 200 in the middle, strength 100 (c = -180, divisor 380), worked by
  // hand: the taps above and to the left read filtered values, so the result is not
  // symmetric about the bright pixel.
  const uint8_t expected[9] = {100, 52, 122,  //
                               52, 255, 16,   //
                               122, 16, 179};
  for (level::VectorLevel cap : availableLevels()) {
    LevelCap scoped(cap);
    Owned<BufferedImage> image(BufferedImage::create());
    ASSERT_TRUE(image->create(3, 3));
    BufferedImage::fill(image.get(), 255, 100, 100, 100);
    std::fill(image->getLine(1) + 4, image->getLine(1) + 7, 200);
    Owned<Sharpness> filter(Sharpness::newSharpness(100));
    Owned<BufferedImage> out(filter->apply(image.get(), nullptr));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x) {
        const uint8_t* pixel = out->getLine(y) + 4 * x;
        EXPECT_EQ(pixel[0], expected[3 * y + x]) << "level " << static_cast<int>(cap) << " at " << x << "," << y;
        EXPECT_EQ(pixel[2], expected[3 * y + x]);
        EXPECT_EQ(pixel[3], 255);
      }
  }
}

TEST(Sharpness, CopiesUniformAndSinglePixelPictures) {
  std::mt19937 random(7);
  for (int strength : {0, 70, 80, 152, -1, -100}) {
    SCOPED_TRACE(strength);
    Owned<Sharpness> filter(Sharpness::newSharpness(strength));
    // A uniform picture (weights sum to the divisor) and a 1 x 1 picture stay as
    // they are; strength 0 copies any picture.
    for (auto [width, height] : {std::pair{9, 7}, std::pair{1, 1}, std::pair{40, 3}}) {
      Owned<BufferedImage> image(BufferedImage::create());
      ASSERT_TRUE(image->create(width, height));
      const bool uniform = width != 1 && strength != 0;
      BufferedImage::fill(image.get(), 77, 10, 128, 250);
      if (!uniform)
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width * 4; ++x) image->getLine(y)[x] = static_cast<uint8_t>(random());
      image->setAlpha(true);
      Owned<BufferedImage> out(BufferedImage::create());
      ASSERT_EQ(filter->apply(image.get(), out.get()), out.get());
      EXPECT_TRUE(out->hasAlpha());
      for (int y = 0; y < height; ++y)
        ASSERT_EQ(0, std::memcmp(out->getLine(y), image->getLine(y), static_cast<size_t>(width) * 4));
    }
  }
}

TEST(Sharpness, EveryPathMatchesThePlainLoop) {
  std::mt19937 random(2024);
  const std::pair<int, int> kSizes[] = {{1, 1}, {2, 5},  {3, 3},   {4, 3},  {5, 4},   {7, 9},
                                        {9, 4}, {17, 6}, {33, 5},  {64, 3}, {131, 7}, {300, 4}};
  std::vector<int> strengths = {-100, -99, -70, -50, -1, 1, 70, 80, 100, 151, 152};
  for (int i = 0; i < 12; ++i) strengths.push_back(static_cast<int>(random() % 253) - 100);
  for (auto [width, height] : kSizes) {
    std::vector<uint8_t> source(static_cast<size_t>(width) * height * 4);
    for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
    for (int strength : strengths) {
      int32_t k[9];
      ASSERT_TRUE(Sharpness::kernelFor(strength, k));
      Owned<Convolution> kernel(Convolution::create());
      kernel->setWeights(k);
      std::vector<uint8_t> expected = source;
      referenceConvolve(expected, width, height, k, kernel->getDivisor());
      for (level::VectorLevel cap : availableLevels()) {
        LevelCap scoped(cap);
        std::vector<uint8_t> got = source;
        kernel->convolve(rowsOf(got, width, height).data(), width, height);
        ASSERT_EQ(got, expected) << width << "x" << height << " strength " << strength << " level "
                                 << static_cast<int>(cap);
      }
    }
  }
}

TEST(Convolution, OtherKernelsMatchThePlainLoop) {
  // Negative and zero divisors, and weights too large for the faster path (their
  // sums stay within 32 bits here, where the plain loop's 64-bit sums agree).
  const int32_t kKernels[][9] = {
      {1, 2, 1, 2, -20, 2, 1, 2, 1},         // divisor -8
      {1, -2, 1, -2, 4, -2, 1, -2, 1},        // divisor 0, taken as 1
      {0, 0, 0, 0, 1, 0, 0, 0, 0},            // identity
      {-1, -1, -1, -1, 9, -1, -1, -1, -1},    // divisor 1
      {900, 40000, 7, 3, 90000, 3, 7, 40000, 900},
      {-30000, 32767, -32767, 100, 5, 100, 1, 2, -3},
  };
  std::mt19937 random(5);
  std::vector<uint8_t> source(static_cast<size_t>(23) * 6 * 4);
  for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
  for (const auto& k : kKernels) {
    Owned<Convolution> kernel(Convolution::newConvolution(k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8]));
    std::vector<uint8_t> expected = source;
    referenceConvolve(expected, 23, 6, k, kernel->getDivisor());
    for (level::VectorLevel cap : availableLevels()) {
      LevelCap scoped(cap);
      std::vector<uint8_t> got = source;
      kernel->convolve(rowsOf(got, 23, 6).data(), 23, 6);
      EXPECT_EQ(got, expected) << "weights starting " << k[0] << " level " << static_cast<int>(cap);
    }
  }
  // Reset restores the identity.
  Owned<Convolution> kernel(Convolution::newConvolution(1, 1, 1, 1, 1, 1, 1, 1, 1));
  kernel->reset();
  EXPECT_EQ(kernel->getWeight(4), 1);
  EXPECT_EQ(kernel->getDivisor(), 1);
}

}  // namespace
