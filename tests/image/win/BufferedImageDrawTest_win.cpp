// Drawing through GDI: the pixel image's bitmap and the raster's handle exchange
// give the same pixels as the library's own conversions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/bmp/win/RasterMemory.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

using s::image::bmp::win::Bitmap;
using s::image::bmp::win::RasterMemory;
using s::image::win::BufferedImage;
using s::thread::Owned;

TEST(BufferedImageDraw, DrawToCopiesThePictureIntoADeviceContext) {
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(3, 2));
  ASSERT_NE(image->getBitmapHandle(), nullptr);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(10 * x), p[1] = static_cast<uint8_t>(100 * y), p[2] = 77, p[3] = 255;
    }
  Owned<Bitmap> target(Bitmap::create());
  ASSERT_TRUE(target->create(3, 2, 32));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(target->getHandle()));
  image->drawTo(dc, 3, 2, false);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  // A plain source copy: the colour bytes arrive unchanged.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(std::memcmp(target->getRow(y) + 4 * x, image->getLine(y) + 4 * x, 3), 0) << x << "," << y;
}

TEST(BufferedImageDraw, PixelsMoveIntoABitmapSectionOnlyWhenAHandleIsAskedFor) {
  const int64_t made = RasterMemory::sectionsMade();
  const int64_t alive = RasterMemory::sectionsAlive();
  Owned<BufferedImage> image(BufferedImage::create());
  // Over 4 MB: a block mapped from the system, which goes back to the kept blocks.
  ASSERT_TRUE(image->create(1100, 1000));
  for (int y = 0; y < 1000; ++y)
    for (int x = 0; x < 1100; ++x) image->getLine(y)[4 * x] = static_cast<uint8_t>(x), image->getLine(y)[4 * x + 2] = y;
  EXPECT_EQ(RasterMemory::sectionsMade(), made) << "plain memory until drawn";
  HBITMAP handle = static_cast<HBITMAP>(image->getBitmapHandle());
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(image->getBitmapHandle(), handle) << "one section per raster";
  EXPECT_EQ(RasterMemory::sectionsMade(), made + 1);
  EXPECT_EQ(RasterMemory::sectionsAlive(), alive + 1);
  // The pixels moved with the image's rows, and GDI sees the same ones.
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectW(handle, sizeof(section), &section), static_cast<int>(sizeof(section)));
  EXPECT_EQ(section.dsBm.bmBits, image->getBits());
  for (int y = 0; y < 1000; y += 37)
    for (int x = 0; x < 1100; x += 41) {
      EXPECT_EQ(image->getLine(y)[4 * x], static_cast<uint8_t>(x));
      EXPECT_EQ(image->getLine(y)[4 * x + 2], static_cast<uint8_t>(y));
    }
  image.reset();
  EXPECT_EQ(RasterMemory::sectionsAlive(), alive) << "released with its raster";
}

TEST(BufferedImageDraw, HandleExchangeKeepsPixels) {
  Owned<Bitmap> indexed(Bitmap::create());
  ASSERT_TRUE(indexed->create(2, 2, 8));
  indexed->getPalette()[1] = 0x00FF8000;
  indexed->getRow(0)[1] = 1;
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(2, 2));
  ASSERT_TRUE(indexed->drawToHandle(image->getBitmapHandle()));
  EXPECT_EQ(image->getLine(0)[4], 0x00);
  EXPECT_EQ(image->getLine(0)[5], 0x80);
  EXPECT_EQ(image->getLine(0)[6], 0xFF);

  Owned<Bitmap> copy(Bitmap::create());
  ASSERT_TRUE(copy->copyFromHandle(image->getBitmapHandle()));
  EXPECT_EQ(copy->getBitCount(), 32);
  EXPECT_EQ(copy->getWidth(), 2);
  EXPECT_EQ(std::memcmp(copy->getRow(0), image->getLine(0), 8), 0);
}

}  // namespace
