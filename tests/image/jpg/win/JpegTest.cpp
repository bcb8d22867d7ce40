// The JPEG codec: pixels against ImageMagick, grayscale and CMYK rules, cut and
// hostile files, round trips, the size limit and failing streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/MagickReference.h"
#include "io/MemoryStreams.h"
#include "image/SmallCopy.h"
#include "image/jpg/ExifFixtures.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

namespace fs = std::filesystem;
using s::image::jpg::win::Jpeg;
using s::image::win::BufferedImage;
using s::thread::Owned;
using testing_streams::MemoryInputStream;
using testing_streams::MemoryOutputStream;

std::string testdata(const char* path) { return std::string(PICTORVA_TESTDATA) + "/" + path; }

// ImageMagick decodes with the same integer inverse DCT as the codec, and turns the
// picture upright as its Exif orientation says.
const char kIslow[] = "-define jpeg:dct-method=islow -auto-orient";

Owned<Jpeg> decodeBytes(std::vector<uint8_t> bytes, bool* ok = nullptr) {
  MemoryInputStream in(std::move(bytes));
  Owned<Jpeg> jpeg(Jpeg::create());
  const bool read = jpeg->read(in);
  if (ok) *ok = read;
  return jpeg;
}

// The largest difference of any red, green or blue byte against RGBA reference.
int worstDifference(Jpeg& jpeg, const std::vector<uint8_t>& rgba) {
  int worst = 0;
  for (int y = 0; y < jpeg.getHeight(); ++y) {
    const uint8_t* row = jpeg.getRow(y);
    for (int x = 0; x < jpeg.getWidth(); ++x) {
      const uint8_t* expected = rgba.data() + 4 * (static_cast<size_t>(y) * jpeg.getWidth() + x);
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(row[3 * x + 2 - c] - expected[c]));
    }
  }
  return worst;
}

// A JPEG written by libjpeg itself: components samples a pixel in colour space
// space, rows from paint(y, row); setup adjusts the defaults before compression.
template <class Setup, class Paint>
std::vector<uint8_t> writeJpeg(int width, int height, int components, J_COLOR_SPACE space, Setup setup,
                               Paint paint) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  setup(info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  while (info.next_scanline < info.image_height) {
    paint(static_cast<int>(info.next_scanline), row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> file(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return file;
}

// A CMYK JPEG (Adobe marker, inverted values as Photoshop writes them) of one flat
// colour.
std::vector<uint8_t> flatCmykJpeg(const uint8_t cmyk[4]) {
  return writeJpeg(
      16, 16, 4, JCS_CMYK, [](jpeg_compress_struct& info) { jpeg_set_quality(&info, 100, TRUE); },
      [cmyk](int, uint8_t* row) {
        for (int x = 0; x < 16; ++x) std::memcpy(row + 4 * x, cmyk, 4);
      });
}

TEST(Jpeg, DecodesLikeImageMagick) {
  std::vector<fs::path> files;
  for (const char* folder : {"libjpeg-turbo", "jpeg-decoder/reftest", "pillow/jpeg-edge"}) {
    std::vector<fs::path> more = magick_reference::filesIn(testdata(folder), ".jpg");
    files.insert(files.end(), more.begin(), more.end());
  }
  if (files.empty()) GTEST_SKIP() << "no JPEG test data";
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    bool ok = false;
    Owned<Jpeg> jpeg = decodeBytes(testing_streams::readFile(file.string()), &ok);
    if (file.filename() == "monkey12.jpg") {  // 12-bit samples: refused cleanly
      EXPECT_FALSE(ok);
      continue;
    }
    EXPECT_TRUE(ok);
    ASSERT_GT(jpeg->getWidth(), 0);
    EXPECT_EQ(jpeg->getBitCount(), 24);
    if (!magick_reference::available()) continue;
    magick_reference::Rgba reference = magick_reference::decode(file, kIslow);
    ASSERT_EQ(reference.bytes.size(), static_cast<size_t>(jpeg->getWidth()) * jpeg->getHeight() * 4);
    // The same library decodes both; CMYK conversion may round one step apart.
    EXPECT_LE(worstDifference(*jpeg, reference.bytes), 2);
  }
}

struct Layout {
  const char* name;
  int lumaH, lumaV;  // luma sampling factors; chroma stays at 1 x 1
  bool progressive;
  unsigned restartRows;
};

// A colour JPEG of a smooth picture with sharp edges.
std::vector<uint8_t> layoutJpeg(const Layout& layout, int width, int height) {
  auto setup = [&layout](jpeg_compress_struct& info) {
    info.comp_info[0].h_samp_factor = layout.lumaH;
    info.comp_info[0].v_samp_factor = layout.lumaV;
    info.restart_in_rows = static_cast<int>(layout.restartRows);
    if (layout.progressive) jpeg_simple_progression(&info);
  };
  auto paint = [width, height](int y, uint8_t* row) {
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / width);
      row[3 * x + 1] = static_cast<uint8_t>(((x / 8 + y / 8) % 2) ? 220 : 30);
      row[3 * x + 2] = static_cast<uint8_t>(y * 255 / height);
    }
  };
  return writeJpeg(width, height, 3, JCS_RGB, setup, paint);
}

// Chroma subsampling, progressive scans and restart markers, each against
// ImageMagick; then the same file with garbage after its end decodes the same.
TEST(Jpeg, SamplingProgressionAndRestartsDecodeLikeImageMagick) {
  const Layout layouts[] = {{"4:2:0", 2, 2, false, 0}, {"4:2:2", 2, 1, false, 0}, {"4:4:4", 1, 1, false, 0},
                            {"progressive 4:2:0", 2, 2, true, 0}, {"restarts 4:2:2", 2, 1, false, 1}};
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    const std::vector<uint8_t> file = layoutJpeg(layout, 61, 37);  // partial blocks on both sides
    bool ok = false;
    Owned<Jpeg> jpeg = decodeBytes(file, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(jpeg->getWidth(), 61);
    ASSERT_EQ(jpeg->getHeight(), 37);

    std::vector<uint8_t> padded = file;
    for (int i = 0; i < 1000; ++i) padded.push_back(static_cast<uint8_t>(i * 37));
    Owned<Jpeg> again = decodeBytes(padded, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(again->getHeight(), 37);
    for (int y = 0; y < 37; ++y) ASSERT_EQ(std::memcmp(again->getRow(y), jpeg->getRow(y), 61 * 3), 0) << "row " << y;

    if (!magick_reference::available()) continue;
    const fs::path copy = fs::temp_directory_path() / "pictorva-jpeg-layout.jpg";
    std::ofstream(copy, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    magick_reference::Rgba reference = magick_reference::decode(copy, kIslow);
    fs::remove(copy);
    ASSERT_EQ(reference.bytes.size(), size_t{61} * 37 * 4);
    EXPECT_LE(worstDifference(*jpeg, reference.bytes), 1);
  }
}

TEST(Jpeg, GrayscaleGivesThreeEqualBytesAndWritesColour) {
  std::vector<uint8_t> bytes = testing_streams::readFile(testdata("pillow/jpeg-edge/hopper_gray.jpg"));
  if (bytes.empty()) GTEST_SKIP() << "no grayscale JPEG";
  Owned<Jpeg> jpeg = decodeBytes(bytes);
  ASSERT_GT(jpeg->getWidth(), 0);
  for (int y = 0; y < jpeg->getHeight(); ++y) {
    const uint8_t* row = jpeg->getRow(y);
    for (int x = 0; x < jpeg->getWidth(); ++x) {
      ASSERT_EQ(row[3 * x], row[3 * x + 1]);
      ASSERT_EQ(row[3 * x], row[3 * x + 2]);
    }
  }
  MemoryOutputStream out;
  ASSERT_TRUE(jpeg->write(out));
  // The first SOF0 segment: marker, length (2), precision, height, width, then the
  // component count.
  std::vector<uint8_t> sofMarker = {0xFF, 0xC0};
  auto at = std::search(out.data.begin(), out.data.end(), sofMarker.begin(), sofMarker.end());
  ASSERT_LT(at + 9, out.data.end());
  EXPECT_EQ(at[9], 3);
}

TEST(Jpeg, CmykIsInvertedInkScaledByBlack) {
  const struct {
    uint8_t cmyk[4];
    uint8_t red, green, blue;
  } kCases[] = {
      {{255, 255, 255, 255}, 255, 255, 255},  // no ink: white
      {{255, 255, 255, 0}, 0, 0, 0},          // full black
      {{255, 0, 0, 255}, 255, 0, 0},          // full magenta and yellow: red
      {{128, 255, 64, 255}, 128, 255, 64},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue));
    bool ok = false;
    Owned<Jpeg> jpeg = decodeBytes(flatCmykJpeg(c.cmyk), &ok);
    ASSERT_TRUE(ok);
    const uint8_t* pixel = jpeg->getRow(8) + 3 * 8;
    EXPECT_NEAR(pixel[2], c.red, 2);
    EXPECT_NEAR(pixel[1], c.green, 2);
    EXPECT_NEAR(pixel[0], c.blue, 2);
  }
}

TEST(Jpeg, CutFilesDecodeToFullSize) {
  std::vector<uint8_t> whole = testing_streams::readFile(testdata("libjpeg-turbo/testorig.jpg"));
  if (whole.empty()) GTEST_SKIP() << "no testorig.jpg";
  for (size_t keep : {whole.size() - 2, whole.size() / 2, size_t{1200}}) {
    SCOPED_TRACE(keep);
    bool ok = false;
    Owned<Jpeg> jpeg = decodeBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(keep)), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(jpeg->getWidth(), 227);
    EXPECT_EQ(jpeg->getHeight(), 149);
  }
  // Cut inside the headers, or nothing at all: no picture.
  for (size_t keep : {size_t{0}, size_t{2}, size_t{100}}) {
    SCOPED_TRACE(keep);
    bool ok = true;
    Owned<Jpeg> jpeg = decodeBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(keep)), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(jpeg->getBits(), nullptr);
  }
}

// A stream that answers "success, 0 bytes" for ever after its data.
class EndlessEmptyStream final : public s::io::IInputStream {
 public:
  explicit EndlessEmptyStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
  bool read(void* buffer, size_t count, size_t* readCount) override {
    size_t n = std::min(count, data_.size() - position_);
    if (n) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    *readCount = n;
    return true;
  }
  int64_t getPosition() const override { return static_cast<int64_t>(position_); }
  void rewind() override { position_ = 0; }
  bool seek(int64_t) override { return false; }

 private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

TEST(Jpeg, StreamsAnsweringNothingEndTheData) {
  std::vector<uint8_t> whole = testing_streams::readFile(testdata("libjpeg-turbo/testorig.jpg"));
  if (whole.empty()) GTEST_SKIP() << "no testorig.jpg";
  EndlessEmptyStream cut(std::vector<uint8_t>(whole.begin(), whole.begin() + 3000));
  Owned<Jpeg> jpeg(Jpeg::create());
  EXPECT_TRUE(jpeg->read(cut));
  EXPECT_EQ(jpeg->getWidth(), 227);
  EndlessEmptyStream nothing({});
  EXPECT_FALSE(jpeg->read(nothing));
  EXPECT_EQ(jpeg->getWidth(), 0);
}

TEST(Jpeg, RoundTripStaysClose) {
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(37, 23));
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(x * 6), p[1] = static_cast<uint8_t>(y * 10), p[2] = 128, p[3] = 255;
    }
  Owned<Jpeg> jpeg(Jpeg::create());
  ASSERT_TRUE(jpeg->fromBufferedImage(image.get(), 95, 255, 255, 255));
  MemoryOutputStream out;
  ASSERT_TRUE(jpeg->write(out));
  Owned<Jpeg> back = decodeBytes(out.data);
  ASSERT_EQ(back->getWidth(), 37);
  ASSERT_EQ(back->getHeight(), 23);
  int worst = 0;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37 * 3; ++x)
      worst = std::max(worst, std::abs(back->getRow(y)[x] - image->getLine(y)[x / 3 * 4 + x % 3]));
  // Quality 95 with the default 4:2:0 chroma subsampling.
  EXPECT_LE(worst, 10);
}

TEST(Jpeg, CreateLikeUsesQuality75AndComposesTransparency) {
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(8, 8));
  BufferedImage::fill(image.get(), 0, 0, 0, 0);  // transparent black
  image->setAlpha(true);
  Owned<Jpeg> source(Jpeg::create());
  source->setQuality(20);
  Owned<s::image::IEncodedImage> made(source->createLike(image.get()));
  ASSERT_TRUE(made);
  auto* jpeg = static_cast<Jpeg*>(made.get());
  EXPECT_EQ(jpeg->getQuality(), 75);
  EXPECT_EQ(jpeg->getRow(3)[0], 255);  // composed onto white
}

TEST(Jpeg, LimitsAndFailedWrites) {
  std::vector<uint8_t> whole = testing_streams::readFile(testdata("libjpeg-turbo/testorig.jpg"));
  if (whole.empty()) GTEST_SKIP() << "no testorig.jpg";
  MemoryInputStream in(whole);
  Owned<Jpeg> jpeg(Jpeg::create());
  EXPECT_FALSE(jpeg->readLimited(in, 227 * 149 - 1));
  EXPECT_EQ(jpeg->getBits(), nullptr);
  jpeg = decodeBytes(whole);
  for (size_t accepted : {size_t{0}, size_t{100}, size_t{4096}, size_t{5000}}) {
    SCOPED_TRACE(accepted);
    MemoryOutputStream refusing(accepted);
    EXPECT_FALSE(jpeg->write(refusing));
  }
  Owned<Jpeg> empty(Jpeg::create());
  MemoryOutputStream out;
  EXPECT_FALSE(empty->write(out));
}

// Large rasters reuse freed memory uncleared. A progressive file whose later scan
// is invalid fails inside the library after the raster exists: the picture must
// come out black, not show what the memory held before.
TEST(Jpeg, FailedDecodesNeverShowReusedMemory) {
  constexpr int kWidth = 1401, kHeight = 1000;  // over 4 MB, rows with padding
  std::vector<uint8_t> file = writeJpeg(
      kWidth, kHeight, 3, JCS_RGB, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); },
      [](int, uint8_t* row) {
        for (int i = 0; i < kWidth * 3; ++i) row[i] = static_cast<uint8_t>(i * 7);
      });

  // The third scan header gets a successive-approximation shift over 13.
  int scans = 0;
  for (size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] != 0xFF || file[i + 1] != 0xDA || ++scans < 3) continue;
    const size_t components = file[i + 4];
    file[i + 5 + 2 * components + 2] = 0x0F;
    break;
  }
  ASSERT_EQ(scans, 3);

  for (int attempt = 0; attempt < 2; ++attempt) {
    {
      Owned<Jpeg> filler(Jpeg::create());
      ASSERT_TRUE(filler->create(kWidth, kHeight));
      std::memset(filler->getBits(), 0xAB, static_cast<size_t>(filler->getStride()) * kHeight);
    }
    bool ok = true;
    Owned<Jpeg> jpeg = decodeBytes(file, &ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(jpeg->getWidth(), kWidth);
    const uint8_t* bits = jpeg->getBits();
    const size_t bytes = static_cast<size_t>(jpeg->getStride()) * kHeight;
    EXPECT_EQ(std::count(bits, bits + bytes, 0), static_cast<ptrdiff_t>(bytes));
  }
}

// A non-square photograph, in colour (rows decoded straight to blue, green, red) and
// in grayscale (rows converted first), marked with each orientation in either byte
// order: its small copy is the one made from ImageMagick's upright picture.
TEST(Jpeg, ExifOrientationsGiveTheSmallCopyOfTheUprightPicture) {
  if (!magick_reference::available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const std::vector<uint8_t> colour = layoutJpeg({"4:2:0", 2, 2, false, 0}, 45, 26);
  const std::vector<uint8_t> gray = writeJpeg(
      45, 26, 1, JCS_GRAYSCALE, [](jpeg_compress_struct&) {},
      [](int y, uint8_t* row) {
        for (int x = 0; x < 45; ++x) row[x] = static_cast<uint8_t>(x * 5 + y * 3);
      });
  const fs::path file = fs::temp_directory_path() / "pictorva-jpeg-orientation.jpg";
  for (const std::vector<uint8_t>* stored : {&colour, &gray}) {
    for (bool bigEndian : {false, true}) {
      for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(std::string(stored == &gray ? "gray " : "colour ") + (bigEndian ? "MM " : "II ") +
                     std::to_string(orientation));
        exif_fixtures::Block block;
        block.bigEndian = bigEndian;
        block.orientation = orientation;
        const std::vector<uint8_t> marked = exif_fixtures::withApp1(*stored, exif_fixtures::payload(block));
        bool ok = false;
        Owned<Jpeg> jpeg = decodeBytes(marked, &ok);
        ASSERT_TRUE(ok);
        const bool turned = orientation >= 5;
        EXPECT_EQ(jpeg->getWidth(), turned ? 26 : 45);
        EXPECT_EQ(jpeg->getHeight(), turned ? 45 : 26);

        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(marked.data()), marked.size());
        magick_reference::Rgba upright = magick_reference::decode(file, kIslow);
        ASSERT_EQ(upright.bytes.size(), size_t{45} * 26 * 4);
        Owned<BufferedImage> picture(BufferedImage::create());
        ASSERT_TRUE(picture->create(jpeg->getWidth(), jpeg->getHeight()));
        for (int y = 0; y < picture->getHeight(); ++y)
          for (int x = 0; x < picture->getWidth(); ++x) {
            const uint8_t* rgba = upright.bytes.data() + 4 * (static_cast<size_t>(y) * picture->getWidth() + x);
            uint8_t* pixel = picture->getLine(y) + 4 * x;
            pixel[0] = rgba[2], pixel[1] = rgba[1], pixel[2] = rgba[0], pixel[3] = 255;
          }
        Owned<Jpeg> reference(Jpeg::create());
        ASSERT_TRUE(reference->fromBufferedImage(picture.get(), 75, 255, 255, 255));
        for (int cell : {100, 20}) {  // kept, and fitted into 20 x 20
          EXPECT_EQ(small_copy::make(*jpeg, cell, cell), small_copy::make(*reference, cell, cell)) << "cell " << cell;
        }
      }
    }
  }
  fs::remove(file);
}

// Crash files and damaged metadata: any outcome but a crash, a hang or an unbounded
// allocation (meaningful under the sanitizers).
TEST(Jpeg, MalformedCollectionsDecodeOrFailCleanly) {
  int seen = 0;
  for (const char* folder : {"jpeg-decoder/crashtest", "pillow/jpeg-malformed", "image-rs"}) {
    for (const fs::path& file : magick_reference::filesIn(testdata(folder), ".jpg")) {
      SCOPED_TRACE(file.string());
      Owned<Jpeg> jpeg = decodeBytes(testing_streams::readFile(file.string()));
      EXPECT_EQ(jpeg->getBits() != nullptr, jpeg->getWidth() > 0);
      ++seen;
    }
  }
  if (seen == 0) GTEST_SKIP() << "no malformed collections";
}

}  // namespace
