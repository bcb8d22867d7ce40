// Writing GIF files: the exact block layout, delays, round trips, write failures.
#include <gtest/gtest.h>

#include <vector>

#include "image/gif/win/GifFixtures.h"
#include "s/image/bmp/win/Bitmap.h"

namespace {

using gif_fixtures::decode;
using gif_fixtures::indexAt;
using s::image::gif::win::Gif;
using s::thread::Owned;
using testing_streams::ByteWriter;
using testing_streams::MemoryOutputStream;

std::vector<uint8_t> written(Gif* gif) {
  MemoryOutputStream out;
  EXPECT_TRUE(gif->write(out));
  return out.data;
}

TEST(GifWrite, ExactBytesOfAOnePixelFile) {
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->create(1, 1, 8));
  gif->getFrameRaster(0)->getPalette()[0] = 0x000A141E;  // red 10, green 20, blue 30

  ByteWriter w;
  w.text("GIF89a");
  w.u16(1).u16(1);          // logical screen of frame 0
  w.u8(0x77);               // no global table, depth fields 7
  w.u8(0).u8(0);            // background index, aspect ratio
  w.u8(0x21).u8(0xFF).u8(0x0B).text("NETSCAPE2.0");
  w.u8(3).u8(1).u16(1).u8(0);  // loop count 1, terminator
  w.u8(0x21).u8(0xF9).u8(4);   // graphic control
  w.u8(0);                     // no transparency, disposal 0
  w.u16(0);                    // delay 0
  w.u8(0xFF);                  // transparent index byte for none
  w.u8(0);                     // terminator
  w.u8(0x2C).u16(0).u16(0).u16(1).u16(1);  // descriptor at (0, 0)
  w.u8(0x87);                              // local table of 256 entries
  w.u8(10).u8(20).u8(30).zeros(255 * 3);   // the local table, red green blue
  w.u8(8);                                 // minimum code size
  // Clear (256), pixel 0, end (257), each 9 bits, least significant bit first.
  w.u8(4).u8(0x00).u8(0x01).u8(0x04).u8(0x04);
  w.u8(0);     // data terminator
  w.u8(0x3B);  // trailer
  EXPECT_EQ(written(gif.get()), w.bytes);
}

TEST(GifWrite, DelaysAreStoredInHundredthsTowardZero) {
  struct Case {
    int milliseconds;
    int stored;
  };
  const Case cases[] = {{95, 9}, {7, 0}, {100, 10}, {0, 0}, {-50, 0}, {655350, 65535}, {9000000, 65535}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.milliseconds);
    Owned<Gif> gif(Gif::create());
    ASSERT_TRUE(gif->create(1, 1, 8));
    gif->setFrameValues(0, -1, c.milliseconds, 0);
    const std::vector<uint8_t> bytes = written(gif.get());
    // The graphic control block follows the 13-byte screen and the 19-byte loop block.
    ASSERT_EQ(bytes[32], 0x21);
    ASSERT_EQ(bytes[33], 0xF9);
    EXPECT_EQ(bytes[36] | (bytes[37] << 8), c.stored);
  }
}

TEST(GifWrite, FramesAndValuesSurviveARoundTrip) {
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->create(3, 2, 8));
  gif->setLoopCount(0);
  gif->setFrameValues(0, 7, 120, 1);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) gif->getFrameRaster(0)->getRow(y)[x] = static_cast<uint8_t>(100 * y + x);
  for (int i = 0; i < 256; ++i) gif->getFrameRaster(0)->getPalette()[i] = static_cast<uint32_t>(i * 0x010203);

  auto result = decode(written(gif.get()));
  ASSERT_TRUE(result.ok);
  Gif* back = result.gif.get();
  ASSERT_EQ(back->getFrameCount(), 1);
  EXPECT_EQ(back->getLoopCount(), 0);
  EXPECT_EQ(back->getFrame(0).transparentIndex, 7);
  EXPECT_EQ(back->getFrame(0).delay, 120);
  EXPECT_EQ(back->getFrame(0).disposal, 1);
  EXPECT_EQ(back->getBitDepth(), 8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(indexAt(back, 0, x, y), 100 * y + x);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(back->getFrameRaster(0)->getPalette()[i], (i * 0x010203u) & 0xFFFFFFu);
}

TEST(GifWrite, ReportsAStreamThatRefusesBytes) {
  Owned<Gif> gif(Gif::create());
  ASSERT_TRUE(gif->create(40, 40, 8));
  for (size_t failAfter : {size_t{0}, size_t{10}, size_t{800}, size_t{830}}) {
    SCOPED_TRACE(failAfter);
    MemoryOutputStream out(failAfter);
    EXPECT_FALSE(gif->write(out));
  }
}

TEST(GifWrite, WithoutFramesOnlyTheScreenAndTrailer) {
  Owned<Gif> gif(Gif::create());
  const std::vector<uint8_t> bytes = written(gif.get());
  ByteWriter w;
  w.text("GIF87a").u16(0).u16(0).u8(0).u8(0).u8(0).u8(0x3B);
  EXPECT_EQ(bytes, w.bytes);
}

}  // namespace
