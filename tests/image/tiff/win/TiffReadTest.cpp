// The TIFF reader on files made here with libtiff: the eight orientations, every
// sample depth from 1 to 16 bits, palettes, alpha of both kinds, tiles with partial
// edge tiles, planes; and sizes refused before any pixel memory is taken.
#include <gtest/gtest.h>

#include <array>

#include "io/MemoryStreams.h"
#include "image/PictureCompare.h"
#include "image/tiff/win/TiffBuilder.h"
#include "s/image/bmp/win/PixelBudget.h"
#include "s/image/tiff/win/Tiff.h"

namespace {

using picture_compare::Picture;
using s::image::tiff::win::Tiff;
using s::thread::Owned;
using tiff_builder::makeTiff;
using tiff_builder::packRows;
using tiff_builder::TiffFields;

Picture decode(const std::vector<uint8_t>& bytes, bool* ok = nullptr) {
  testing_streams::MemoryInputStream in(bytes);
  Owned<Tiff> tiff(Tiff::create());
  const bool read = tiff->read(in);
  if (ok) *ok = read;
  return picture_compare::fromCodec(*tiff);
}

// Where stored pixel (column c, row r) of a picture of the given orientation shows,
// in an upright picture of uprightWidth x uprightHeight; written out from the TIFF
// definitions ("the 0th row represents the visual ... side").
std::array<int, 2> shownAt(int orientation, int c, int r, int uprightWidth, int uprightHeight) {
  const int w = uprightWidth - 1;
  const int h = uprightHeight - 1;
  switch (orientation) {
    case 2: return {w - c, r};      // row 0 top, column 0 right
    case 3: return {w - c, h - r};  // row 0 bottom, column 0 right
    case 4: return {c, h - r};      // row 0 bottom, column 0 left
    case 5: return {r, c};          // row 0 left, column 0 top
    case 6: return {w - r, c};      // row 0 right, column 0 top
    case 7: return {w - r, h - c};  // row 0 right, column 0 bottom
    case 8: return {r, h - c};      // row 0 left, column 0 bottom
    default: return {c, r};
  }
}

// A 3 x 2 picture of six colours, stored for the orientation.
std::vector<uint8_t> orientedRgb(int orientation, const std::vector<uint8_t>& upright, uint16_t photometric) {
  const int width = 3;
  const int height = 2;
  const bool turned = orientation >= 5;
  TiffFields fields;
  fields.width = turned ? height : width;
  fields.height = turned ? width : height;
  fields.samplesPerPixel = 3;
  fields.photometric = photometric;
  fields.orientation = static_cast<uint16_t>(orientation);
  std::vector<uint8_t> stored;
  for (uint32_t r = 0; r < fields.height; ++r)
    for (uint32_t c = 0; c < fields.width; ++c) {
      const auto at = shownAt(orientation, static_cast<int>(c), static_cast<int>(r), width, height);
      const size_t index = (static_cast<size_t>(at[1]) * width + at[0]) * 3;
      stored.insert(stored.end(), upright.begin() + static_cast<ptrdiff_t>(index),
                    upright.begin() + static_cast<ptrdiff_t>(index + 3));
    }
  return makeTiff(fields, {stored});
}

TEST(TiffRead, EveryOrientationGivesTheUprightPicture) {
  const std::vector<uint8_t> upright = {255, 0,   0,   0,   255, 0,  0,   0,   255,   // red, green, blue
                                        255, 255, 0,   0,   255, 255, 255, 0,  255};  // yellow, cyan, magenta
  Picture expected;
  expected.width = 3;
  expected.height = 2;
  for (size_t i = 0; i < upright.size(); i += 3) expected.rgba.insert(expected.rgba.end(), {upright[i], upright[i + 1], upright[i + 2], 255});
  // RGB goes through the sample path; CIELab through libtiff's RGBA interface,
  // whose colours are compared with its own upright decode.
  const Picture labUpright = decode(orientedRgb(1, upright, PHOTOMETRIC_CIELAB));
  ASSERT_EQ(labUpright.width, 3);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    const Picture rgb = decode(orientedRgb(orientation, upright, PHOTOMETRIC_RGB));
    EXPECT_EQ(picture_compare::compare(rgb, expected).maximum, 0);
    EXPECT_TRUE(picture_compare::compare(rgb, expected).sameSize);
    const Picture lab = decode(orientedRgb(orientation, upright, PHOTOMETRIC_CIELAB));
    EXPECT_TRUE(picture_compare::compare(lab, labUpright).sameSize);
    EXPECT_EQ(picture_compare::compare(lab, labUpright).maximum, 0);
  }
}

TEST(TiffRead, EverySampleDepthFrom1To16Bits) {
  for (int bits = 1; bits <= 16; ++bits) {
    SCOPED_TRACE(bits);
    const uint32_t maxValue = (uint32_t{1} << bits) - 1;
    // A ramp over the whole range, an odd width so that rows end inside a byte.
    const uint32_t width = 37;
    std::vector<uint32_t> samples;
    for (uint32_t x = 0; x < width; ++x) samples.push_back(static_cast<uint32_t>(uint64_t{x} * maxValue / (width - 1)));
    for (const bool inverted : {false, true}) {
      TiffFields fields;
      fields.width = width;
      fields.height = 2;
      fields.bitsPerSample = static_cast<uint16_t>(bits);
      fields.photometric = inverted ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
      std::vector<uint32_t> rows = samples;
      rows.insert(rows.end(), samples.rbegin(), samples.rend());
      std::vector<uint8_t> stored;
      if (bits == 16) {
        for (uint32_t value : rows) {
          const uint16_t word = static_cast<uint16_t>(value);
          stored.insert(stored.end(), reinterpret_cast<const uint8_t*>(&word), reinterpret_cast<const uint8_t*>(&word) + 2);
        }
      } else {
        stored = packRows(rows, width, bits);
      }
      bool ok = false;
      const Picture picture = decode(makeTiff(fields, {stored}), &ok);
      ASSERT_TRUE(ok);
      for (uint32_t x = 0; x < width; ++x) {
        const int level = static_cast<int>((samples[x] * 255 + maxValue / 2) / maxValue);
        const int expected = inverted ? 255 - level : level;
        EXPECT_EQ(picture.pixel(static_cast<int>(x), 0)[0], expected) << x;
        EXPECT_EQ(picture.pixel(static_cast<int>(width - 1 - x), 1)[1], expected) << x;
      }
    }
  }
}

TEST(TiffRead, SignedSamplesStartAtBlack) {
  TiffFields fields;
  fields.width = 4;
  fields.sampleFormat = SAMPLEFORMAT_INT;
  // -128, -1, 0, 127 as stored bytes.
  const Picture picture = decode(makeTiff(fields, {{0x80, 0xFF, 0x00, 0x7F}}));
  ASSERT_EQ(picture.width, 4);
  EXPECT_EQ(picture.pixel(0, 0)[0], 0);
  EXPECT_EQ(picture.pixel(1, 0)[0], 127);
  EXPECT_EQ(picture.pixel(2, 0)[0], 128);
  EXPECT_EQ(picture.pixel(3, 0)[0], 255);
}

TEST(TiffRead, PalettesOf16BitAndOf8BitEntries) {
  TiffFields fields;
  fields.width = 4;
  fields.bitsPerSample = 2;
  fields.photometric = PHOTOMETRIC_PALETTE;
  // Proper 16-bit entries: 0xFFFF is 255, 0x8080 is 128.
  fields.red = {0, 0xFFFF, 0x8080, 0};
  fields.green = {0, 0, 0x8080, 0xFFFF};
  fields.blue = {0xFFFF, 0, 0x8080, 0};
  const std::vector<uint8_t> indices = {0x1B};  // 0, 1, 2, 3
  Picture picture = decode(makeTiff(fields, {indices}));
  ASSERT_EQ(picture.width, 4);
  const uint8_t kColours[4][3] = {{0, 0, 255}, {255, 0, 0}, {128, 128, 128}, {0, 255, 0}};
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(picture.pixel(x, 0)[c], kColours[x][c]) << x;
  // Old writers put 8-bit values into the entries: none passes 255.
  fields.red = {0, 255, 128, 0};
  fields.green = {0, 0, 128, 255};
  fields.blue = {255, 0, 128, 0};
  picture = decode(makeTiff(fields, {indices}));
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(picture.pixel(x, 0)[c], kColours[x][c]) << x;
}

TEST(TiffRead, AlphaOfEitherKindBecomesStraight) {
  // One pixel red at half alpha, one transparent, one opaque green.
  const struct {
    uint16_t extra;
    std::vector<uint8_t> stored;
    std::vector<uint8_t> expected;  // red, green, blue, alpha of the three pixels
  } kCases[] = {
      {EXTRASAMPLE_UNASSALPHA, {200, 0, 0, 128, 9, 9, 9, 0, 0, 255, 0, 255}, {200, 0, 0, 128, 0, 0, 0, 0, 0, 255, 0, 255}},
      // Premultiplied: 100 at alpha 128 is 199 straight (100 x 255 / 128, rounded).
      {EXTRASAMPLE_ASSOCALPHA, {100, 0, 0, 128, 0, 0, 0, 0, 0, 255, 0, 255}, {199, 0, 0, 128, 0, 0, 0, 0, 0, 255, 0, 255}},
      // An extra sample of no stated meaning is no alpha.
      {EXTRASAMPLE_UNSPECIFIED, {200, 0, 0, 128, 9, 9, 9, 0, 0, 255, 0, 255}, {200, 0, 0, 255, 9, 9, 9, 255, 0, 255, 0, 255}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.extra);
    TiffFields fields;
    fields.width = 3;
    fields.samplesPerPixel = 4;
    fields.photometric = PHOTOMETRIC_RGB;
    fields.extraSamples = {c.extra};
    const Picture picture = decode(makeTiff(fields, {c.stored}));
    ASSERT_EQ(picture.width, 3);
    for (size_t i = 0; i < 12; ++i) {
      if (c.expected[i / 4 * 4 + 3] == 0 && i % 4 != 3) continue;  // invisible colour
      EXPECT_EQ(picture.rgba[i], c.expected[i]) << i;
    }
  }
}

// A 20 x 18 RGB picture: pixel (x, y) is (x * 12, y * 14, x + y).
std::vector<uint8_t> gradient(uint32_t x0, uint32_t y0, uint32_t width, uint32_t height, int plane = -1) {
  std::vector<uint8_t> out;
  for (uint32_t y = y0; y < y0 + height; ++y)
    for (uint32_t x = x0; x < x0 + width; ++x) {
      const bool inside = x < 20 && y < 18;
      const uint8_t rgb[3] = {static_cast<uint8_t>(inside ? x * 12 : 0), static_cast<uint8_t>(inside ? y * 14 : 0),
                              static_cast<uint8_t>(inside ? x + y : 0)};
      if (plane < 0) {
        out.insert(out.end(), rgb, rgb + 3);
      } else {
        out.push_back(rgb[plane]);
      }
    }
  return out;
}

TEST(TiffRead, TilesStripsAndPlanesGiveOnePicture) {
  TiffFields strips;
  strips.width = 20;
  strips.height = 18;
  strips.samplesPerPixel = 3;
  strips.photometric = PHOTOMETRIC_RGB;
  strips.rowsPerStrip = 7;  // the last strip has 4 rows
  const Picture expected =
      decode(makeTiff(strips, {gradient(0, 0, 20, 7), gradient(0, 7, 20, 7), gradient(0, 14, 20, 4)}));
  ASSERT_EQ(expected.width, 20);
  EXPECT_EQ(expected.pixel(19, 17)[0], 228);
  EXPECT_EQ(expected.pixel(19, 17)[1], 238);
  EXPECT_EQ(expected.pixel(19, 17)[2], 36);

  // 16 x 16 tiles: the right and bottom tiles reach past the picture.
  TiffFields tiles = strips;
  tiles.rowsPerStrip = 0;
  tiles.tileWidth = 16;
  tiles.tileHeight = 16;
  std::vector<std::vector<uint8_t>> contiguous;
  for (uint32_t y = 0; y < 32; y += 16)
    for (uint32_t x = 0; x < 32; x += 16) contiguous.push_back(gradient(x, y, 16, 16));
  EXPECT_EQ(picture_compare::compare(decode(makeTiff(tiles, contiguous)), expected).maximum, 0);

  // The same tiles with each sample in a plane of its own: the planes follow each
  // other.
  tiles.planar = PLANARCONFIG_SEPARATE;
  std::vector<std::vector<uint8_t>> separate;
  for (int plane = 0; plane < 3; ++plane)
    for (uint32_t y = 0; y < 32; y += 16)
      for (uint32_t x = 0; x < 32; x += 16) separate.push_back(gradient(x, y, 16, 16, plane));
  const Picture planar = decode(makeTiff(tiles, separate));
  EXPECT_TRUE(picture_compare::compare(planar, expected).sameSize);
  EXPECT_EQ(picture_compare::compare(planar, expected).maximum, 0);
}

// A little-endian classic TIFF of one directory claiming width x height 8-bit gray
// pixels in one strip of 16 bytes after the directory.
std::vector<uint8_t> claimingTiff(uint32_t width, uint32_t height, uint16_t compression = 1) {
  testing_streams::ByteWriter w;
  w.text("II").u16(42).u32(8);  // byte order, number, first directory
  const uint16_t entries = 8;
  const uint32_t dataAt = 8 + 2 + entries * 12 + 4;
  w.u16(entries);
  auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) { w.u16(tag).u16(type).u32(1).u32(value); };
  entry(256, 4, width);           // ImageWidth, LONG
  entry(257, 4, height);          // ImageLength
  entry(258, 3, 8);               // BitsPerSample, SHORT
  entry(259, 3, compression);     // Compression
  entry(262, 3, 1);               // Photometric: black is 0
  entry(273, 4, dataAt);          // StripOffsets
  entry(278, 4, height);          // RowsPerStrip
  entry(279, 4, 16);              // StripByteCounts
  w.u32(0);                       // no next directory
  w.zeros(16);
  return w.bytes;
}

TEST(TiffRead, HugeClaimedSizesAreRefusedBeforeAnyPixelMemory) {
  using s::image::bmp::win::PixelBudget;
  const struct {
    uint32_t width;
    uint32_t height;
    uint16_t compression;
    int64_t limit;
    bool decodes;
  } kCases[] = {
      {100000, 100000, 1, s::image::bmp::win::Bitmap::kMaxPixels, false},  // 10^10 pixels
      {4000, 4000, 1, int64_t{1} << 20, false},  // within the raster, past the caller's limit
      // A picture the limits allow, uncompressed in 16 bytes: the file cannot hold it.
      {23170, 23170, 1, s::image::bmp::win::Bitmap::kMaxPixels, false},
      // The same deflated in one strip of 537 MB: past the strip buffer's limit.
      {23170, 23170, 8, s::image::bmp::win::Bitmap::kMaxPixels, false},
      {4, 4, 1, int64_t{1} << 20, true},  // the control: a small picture is charged
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", compression " << c.compression);
    PixelBudget budget(size_t{1} << 40);
    bool ok = false;
    {
      PixelBudget::Scope scope(budget, 0);
      testing_streams::MemoryInputStream in(claimingTiff(c.width, c.height, c.compression));
      Owned<Tiff> tiff(Tiff::create());
      ok = tiff->readLimited(in, c.limit);
    }
    EXPECT_EQ(ok, c.decodes);
    EXPECT_EQ(budget.peak() > 0, c.decodes) << budget.peak();
  }
}

}  // namespace
