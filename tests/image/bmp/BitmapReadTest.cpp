#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/bmp/BmpFixtures.h"

namespace {

using bmp_fixtures::bmpFile;
using bmp_fixtures::decode;
using bmp_fixtures::Info;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

Info with(Info info, void (*edit)(Info&)) {
  edit(info);
  return info;
}

// A 16-entry table whose entry i is a distinct grey-blue.
std::vector<uint32_t> ramp(int count) {
  std::vector<uint32_t> palette;
  for (int i = 0; i < count; ++i) palette.push_back(static_cast<uint32_t>(i * 0x010101 + 0x10));
  return palette;
}

struct ValidCase {
  const char* name;
  Info info;
  int width, height;
  bool hasAlpha;
  std::vector<uint32_t> expected;  // top row first
};

std::vector<ValidCase> validCases() {
  std::vector<ValidCase> cases;
  {
    Info i;
    i.width = 2; i.height = 2; i.bitCount = 1;
    i.palette = {0x000000, 0xFFFFFF};
    i.pixels = {0x80, 0, 0, 0,   // bottom row: 1 0
                0x40, 0, 0, 0};  // top row:    0 1
    cases.push_back({"pal1", i, 2, 2, false, {kBlack, kWhite, kWhite, kBlack}});
  }
  {
    Info i;
    i.width = 3; i.height = 1; i.bitCount = 4;
    i.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    i.colorsUsed = 3;
    i.pixels = {0x01, 0x20, 0, 0};  // indices 0 1 2
    cases.push_back({"pal4 with 3 colours used", i, 3, 1, false, {kRed, kGreen, kBlue}});
  }
  {
    Info i;
    i.width = 2; i.height = -2; i.bitCount = 8;  // top-down
    i.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    i.colorsUsed = 4;
    i.pixels = {0, 1, 0, 0,   // top row
                2, 3, 0, 0};  // bottom row
    cases.push_back({"pal8 top-down", i, 2, 2, false, {kRed, kGreen, kBlue, kWhite}});
  }
  {
    Info i;
    i.width = 4; i.height = 2; i.bitCount = 8; i.compression = 1;
    i.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    i.colorsUsed = 4;
    i.pixels = {3, 1,           // run: 3 x index 1
                1, 2,           // run: 1 x index 2
                0, 0,           // end of line
                0, 3, 2, 3, 1, 0,  // absolute: 2 3 1, padded to even
                0, 1};          // end of picture (last pixel stays index 0)
    cases.push_back({"rle8", i, 4, 2, false, {kGreen, kBlue, kRed, kBlack, kRed, kRed, kRed, kGreen}});
  }
  {
    Info i;
    i.width = 5; i.height = 1; i.bitCount = 4; i.compression = 2;
    i.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    i.colorsUsed = 4;
    i.pixels = {3, 0x12,           // run of 3 alternating: 1 2 1
                0, 3, 0x32, 0x10,  // absolute 3 nibbles: 3 2 1 (2 bytes, already even)
                0, 1};             // end of picture
    cases.push_back({"rle4 run past row end is cut", i, 5, 1, false, {kRed, kGreen, kRed, kBlue, kGreen}});
  }
  {
    Info i;
    i.width = 3; i.height = 3; i.bitCount = 8; i.compression = 1;
    i.palette = {0x000000, 0xFF0000};
    i.colorsUsed = 2;
    i.pixels = {0, 2, 1, 1,  // delta: right 1, up 1
                1, 1,        // one pixel of index 1
                0, 2, 9, 9,  // delta far past the picture ends decoding
                1, 1};
    cases.push_back({"rle8 delta", i, 3, 3, false,
                     {kBlack, kBlack, kBlack, kBlack, kRed, kBlack, kBlack, kBlack, kBlack}});
  }
  {
    Info i;
    i.width = 3; i.height = 1; i.bitCount = 16;
    i.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0};  // 5-5-5: red, green, blue
    cases.push_back({"rgb16 555", i, 3, 1, false, {kRed, kGreen, kBlue}});
  }
  {
    Info i;
    i.width = 2; i.height = 1; i.bitCount = 16; i.compression = 3;
    i.masks = {0xF800, 0x07E0, 0x001F};
    i.pixels = {0x00, 0xF8, 0x00, 0x04};  // red; green 32 of 63
    cases.push_back({"rgb16 565 bit fields", i, 2, 1, false, {kRed, 0xFF008200}});
  }
  {
    Info i;
    i.width = 3; i.height = 1; i.bitCount = 24;
    i.pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    cases.push_back({"rgb24", i, 3, 1, false, {kRed, kGreen, kBlue}});
  }
  {
    Info i;
    i.width = 2; i.height = 1; i.bitCount = 32;
    i.pixels = {30, 20, 10, 128, 3, 2, 1, 255};
    cases.push_back({"rgba32 keeps alpha", i, 2, 1, true, {0x800A141E, 0xFF010203}});
  }
  {
    Info i;
    i.width = 2; i.height = 1; i.bitCount = 32;
    i.pixels = {30, 20, 10, 0, 3, 2, 1, 0};
    cases.push_back({"rgb32 zero alpha is opaque", i, 2, 1, false, {0xFF0A141E, 0xFF010203}});
  }
  {
    Info i;
    i.width = 1; i.height = 1; i.bitCount = 32; i.compression = 3;
    i.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
    i.pixels = {10, 20, 30, 40};
    cases.push_back({"rgb32 bit fields", i, 1, 1, false, {0xFF0A141E}});
  }
  {
    Info i;
    i.headerSize = 124; i.width = 1; i.height = 1; i.bitCount = 32; i.compression = 3;
    i.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    i.pixels = {30, 20, 10, 64};
    cases.push_back({"v5 rgba32 bit fields with alpha", i, 1, 1, true, {0x400A141E}});
  }
  {
    Info i;
    i.headerSize = 12; i.width = 2; i.height = 1; i.bitCount = 8;
    i.palette = {0x0000FF, 0x00FF00};  // 3-byte entries; the table stops at the pixel offset
    i.pixels = {1, 0, 0, 0};
    cases.push_back({"os2 core header", i, 2, 1, false, {kGreen, kBlue}});
  }
  {
    Info i;
    i.headerSize = 108; i.width = 1; i.height = 1; i.bitCount = 24;
    i.offsetGap = 10;  // pixels start 10 bytes after the headers
    i.pixels = {255, 0, 0, 0};
    cases.push_back({"v4 header and a gap before the pixels", i, 1, 1, false, {kBlue}});
  }
  {
    Info i;
    i.headerSize = 52; i.width = 1; i.height = 1; i.bitCount = 16; i.compression = 3;
    i.masks = {0xF800, 0x07E0, 0x001F};
    i.pixels = {0x1F, 0x00, 0, 0};
    cases.push_back({"52-byte header with masks", i, 1, 1, false, {kBlue}});
  }
  {
    Info i;
    i.headerSize = 56; i.width = 2; i.height = 1; i.bitCount = 16; i.compression = 3;
    i.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};  // 4-4-4-4
    i.pixels = {0x00, 0x8F, 0x0F, 0xF0};  // red at alpha 8/15; blue opaque
    cases.push_back({"56-byte header 4444 alpha", i, 2, 1, true, {0x88FF0000, kBlue}});
  }
  {
    Info i;
    i.width = 1; i.height = 1; i.bitCount = 8;
    i.colorsUsed = 300;  // more than any table holds: the first 256 are read
    i.palette = ramp(300);
    i.palette[255] = 0xFF0000;
    i.pixels = {255, 0, 0, 0};
    cases.push_back({"300-entry colour table", i, 1, 1, false, {kRed}});
  }
  return cases;
}

TEST(BitmapRead, DecodesEveryKind) {
  for (const ValidCase& c : validCases()) {
    SCOPED_TRACE(c.name);
    bmp_fixtures::Decoded d = decode(bmpFile(c.info));
    EXPECT_TRUE(d.readOk);
    ASSERT_EQ(d.width, c.width);
    ASSERT_EQ(d.height, c.height);
    EXPECT_EQ(d.hasAlpha, c.hasAlpha);
    ASSERT_EQ(d.pixels.size(), c.expected.size());
    for (size_t k = 0; k < c.expected.size(); ++k) EXPECT_EQ(d.pixels[k], c.expected[k]) << "pixel " << k;
  }
}

// What the reader keeps is a raster this codec writes back as a valid file with
// the same pixels: bit fields, palettes of any length, top-down and run-length
// files all come back in the bottom-up uncompressed form.
TEST(BitmapRead, EveryKindWritesBackToTheSamePixels) {
  for (const ValidCase& c : validCases()) {
    SCOPED_TRACE(c.name);
    testing_streams::MemoryInputStream in(bmpFile(c.info));
    auto* bitmap = s::image::bmp::win::Bitmap::create();
    ASSERT_TRUE(bitmap->read(in));
    testing_streams::MemoryOutputStream out;
    EXPECT_TRUE(bitmap->write(out));
    bitmap->release();
    bmp_fixtures::Decoded again = decode(out.data);
    EXPECT_TRUE(again.readOk);
    EXPECT_EQ(again.pixels, c.expected);
  }
}

struct InvalidCase {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<InvalidCase> invalidCases() {
  Info base;
  base.width = 2; base.height = 2; base.bitCount = 24;
  base.pixels.assign(16, 0x55);
  std::vector<InvalidCase> cases = {
      {"width 0", bmpFile(with(base, [](Info& i) { i.width = 0; }))},
      {"negative width", bmpFile(with(base, [](Info& i) { i.width = -2; }))},
      {"height 0", bmpFile(with(base, [](Info& i) { i.height = 0; }))},
      {"height INT32_MIN", bmpFile(with(base, [](Info& i) { i.height = INT32_MIN; }))},
      {"planes 2", bmpFile(with(base, [](Info& i) { i.planes = 2; }))},
      {"bit count 2", bmpFile(with(base, [](Info& i) { i.bitCount = 2; }))},
      {"bit count 64", bmpFile(with(base, [](Info& i) { i.bitCount = 64; }))},
      {"jpeg compression", bmpFile(with(base, [](Info& i) { i.compression = 4; }))},
      {"bit fields at 24 bits", bmpFile(with(base, [](Info& i) { i.compression = 3; i.masks = {1, 2, 4}; }))},
      {"rle8 at 4 bits", bmpFile(with(base, [](Info& i) { i.compression = 1; i.bitCount = 4; }))},
      {"rle top-down", bmpFile(with(base, [](Info& i) { i.compression = 1; i.bitCount = 8; i.height = -2; }))},
      {"header size 20", bmpFile(with(base, [](Info& i) { i.headerSize = 20; }))},
      {"huge", bmpFile(with(base, [](Info& i) { i.width = 100000; i.height = 100000; }))},
      {"pixel data missing", bmpFile(with(base, [](Info& i) { i.width = 1000; i.height = 1000; }))},
      {"truncated header", [&] {
         std::vector<uint8_t> file = bmpFile(base);
         file.resize(30);
         return file;
       }()},
      {"not BM", [&] {
         std::vector<uint8_t> file = bmpFile(base);
         file[0] = 'X';
         return file;
       }()},
  };
  return cases;
}

TEST(BitmapRead, RefusesHostileHeadersAndLeavesAnEmptyRaster) {
  for (const InvalidCase& c : invalidCases()) {
    SCOPED_TRACE(c.name);
    bmp_fixtures::Decoded d = decode(c.bytes);
    EXPECT_FALSE(d.readOk);
    EXPECT_EQ(d.width, 0);
    EXPECT_EQ(d.height, 0);
  }
}

TEST(BitmapRead, ShortLastRowKeepsTheRowsThatArrived) {
  Info i;
  i.width = 1; i.height = 2; i.bitCount = 24;
  i.pixels = {255, 0, 0, 0,  // bottom row: blue
              0, 0};         // top row cut short
  bmp_fixtures::Decoded d = decode(bmpFile(i));
  EXPECT_FALSE(d.readOk);
  ASSERT_EQ(d.height, 2);
  EXPECT_EQ(d.pixels[1], kBlue);
  EXPECT_EQ(d.pixels[0], kBlack);
}

TEST(BitmapRead, RleDataCutShortKeepsWhatWasDecoded) {
  const std::vector<std::vector<uint8_t>> streams = {
      {2, 1},              // a run, then nothing
      {0, 5, 1, 1},        // absolute run of 5 with only 2 bytes
      {0, 2, 1},           // delta missing its second byte
      {0, 0, 0, 0, 0, 0},  // more line ends than rows
      {255, 1, 255, 1},    // runs far past the row end
  };
  for (const auto& stream : streams) {
    Info i;
    i.width = 3; i.height = 2; i.bitCount = 8; i.compression = 1;
    i.palette = {0x000000, 0xFF0000};
    i.colorsUsed = 2;
    i.pixels = stream;
    bmp_fixtures::Decoded d = decode(bmpFile(i));
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
  }
}

TEST(BitmapRead, DibWithoutFileHeader) {
  Info i;
  i.width = 1; i.height = 1; i.bitCount = 8;
  i.colorsUsed = 2;
  i.palette = {0x00FF00, 0xFF0000};
  i.pixels = {1, 0, 0, 0};
  std::vector<uint8_t> file = bmpFile(i);
  testing_streams::MemoryInputStream in(std::vector<uint8_t>(file.begin() + 14, file.end()));
  auto* bitmap = s::image::bmp::win::Bitmap::create();
  ASSERT_TRUE(bitmap->readDib(in));
  EXPECT_EQ(bitmap->getPalette()[1], 0xFF0000u);
  EXPECT_EQ(bitmap->getRow(0)[0], 1);
  // The synthesised file header points past a 2-entry table.
  EXPECT_EQ(bitmap->getFileHeader().pixelOffset, 54u + 8u);
  bitmap->release();
}

}  // namespace
