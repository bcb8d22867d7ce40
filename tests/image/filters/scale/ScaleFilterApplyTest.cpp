#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/util/Sizer.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

using s::image::filters::scale::ScaleFilter;
using s::image::win::BufferedImage;
using s::thread::Owned;

// An image whose pixel (x, y) encodes its position, fully opaque.
Owned<BufferedImage> gradient(int width, int height) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->ensureCapacity(width, height);
  image->setSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image->view().pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 20);
      p[1] = static_cast<uint8_t>(y * 20);
      p[2] = static_cast<uint8_t>(x + y);
      p[3] = 255;
    }
  }
  return image;
}

std::vector<uint8_t> pixels(const BufferedImage& image) {
  std::vector<uint8_t> out;
  for (int y = 0; y < image.getHeight(); ++y) {
    const uint8_t* row = image.view().row(y);
    out.insert(out.end(), row, row + image.getWidth() * 4);
  }
  return out;
}

Owned<ScaleFilter> filter(int width, int height) {
  Owned<ScaleFilter> scale(ScaleFilter::create());
  scale->width = width;
  scale->height = height;
  scale->keepRatio = false;
  return scale;
}

TEST(ScaleFilterApply, ResamplesIntoANewImageLikeTheResampler) {
  auto source = gradient(12, 8);
  auto scale = filter(5, 3);
  Owned<BufferedImage> result(scale->apply(source.get(), nullptr));
  ASSERT_TRUE(result);
  ASSERT_EQ(result->getWidth(), 5);
  ASSERT_EQ(result->getHeight(), 3);
  std::vector<uint8_t> expected(5 * 3 * 4);
  const auto view = s::image::RasterView::packed(expected.data(), 5, 3);
  ASSERT_TRUE(ScaleFilter::resampleInto(source->view(), view, scale->getKernel()));
  std::vector<uint8_t> expectedRows;  // top row first, as pixels() gives them
  for (int y = 0; y < 3; ++y) expectedRows.insert(expectedRows.end(), view.row(y), view.row(y) + 20);
  EXPECT_EQ(pixels(*result), expectedRows);
}

TEST(ScaleFilterApply, SameSizeCopiesAndAGivenOutputIsReused) {
  auto source = gradient(6, 4);
  auto scale = filter(6, 4);
  Owned<BufferedImage> output(BufferedImage::create());
  BufferedImage* result = scale->apply(source.get(), output.get());
  EXPECT_EQ(result, output.get());
  EXPECT_EQ(pixels(*result), pixels(*source));
}

TEST(ScaleFilterApply, CanvasCentresThePictureOnClearWhite) {
  auto source = gradient(4, 2);
  auto scale = filter(8, 8);
  scale->canvas = true;
  scale->keepRatio = true;
  scale->enlargePolicy = ScaleFilter::kNeverEnlarge;
  Owned<BufferedImage> result(scale->apply(source.get(), nullptr));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->getWidth(), 8);
  EXPECT_TRUE(result->hasAlpha());
  const uint8_t clear[4] = {255, 255, 255, 0};
  EXPECT_EQ(std::memcmp(result->view().pixel(0, 0), clear, 4), 0);
  // Not enlarged: the 4 x 2 picture sits at left 2, top 3.
  EXPECT_EQ(std::memcmp(result->view().pixel(2, 3), source->view().pixel(0, 0), 4), 0);
  EXPECT_EQ(std::memcmp(result->view().pixel(5, 4), source->view().pixel(3, 1), 4), 0);
}

TEST(ScaleFilterApply, EmptySourceIsRefused) {
  Owned<BufferedImage> empty(BufferedImage::create());
  auto scale = filter(5, 5);
  EXPECT_EQ(scale->apply(empty.get(), nullptr), nullptr);
}

TEST(ScaleFilterApply, ScaledCopyUsesTheBilinearResampler) {
  auto source = gradient(10, 10);
  BufferedImage* small = source->scaledCopy(3, 3, false);
  ASSERT_NE(small, nullptr);
  auto scale = filter(3, 3);
  Owned<BufferedImage> viaFilter(scale->apply(source.get(), nullptr));
  EXPECT_EQ(pixels(*small), pixels(*viaFilter));
}

}  // namespace
