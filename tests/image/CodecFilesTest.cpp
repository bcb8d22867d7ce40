// Codecs through real files: detection, decoding by content, saving that never
// overwrites, loading that ignores missing paths and folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "io/MemoryStreams.h"
#include "s/file/win/PathWin.h"
#include "s/image/ImageFormat.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/png/win/Png.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

namespace fs = std::filesystem;
using s::file::win::PathWin;
using s::image::bmp::win::Bitmap;
using s::image::win::BufferedImage;
using s::thread::Owned;

class CodecFiles : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pictorva-codec-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::u16string path(const char* name) const { return (dir_ / name).u16string(); }
  void writeBytes(const char* name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  fs::path dir_;
};

Owned<BufferedImage> picture() {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(6, 5);
  BufferedImage::fill(image.get(), 255, 10, 200, 30);
  return image;
}

TEST_F(CodecFiles, SaveDetectAndDecode) {
  Owned<BufferedImage> image = picture();
  Owned<s::image::bmp::EncodeSetting> setting = s::thread::make<s::image::bmp::EncodeSetting>();
  ASSERT_TRUE(image->saveBmp(path("a.bmp"), *setting));
  const char16_t* type = nullptr;
  ASSERT_TRUE(s::image::detectImageFormat(path("a.bmp"), &type));
  EXPECT_EQ(std::u16string(type), u"bmp");

  Owned<PathWin> file(PathWin::fromText(path("a.bmp")));
  Owned<s::image::IEncodedImage> codec(s::image::decodeImageFile(file.get()));
  ASSERT_TRUE(codec);
  EXPECT_EQ(codec->getWidth(), 6);
  EXPECT_EQ(codec->getHeight(), 5);
  Owned<BufferedImage> back(codec->toBufferedImage(0, nullptr));
  EXPECT_EQ(back->getLine(4)[1], 200);
}

TEST_F(CodecFiles, SavingNeverOverwrites) {
  writeBytes("taken.bmp", {'k', 'e', 'e', 'p'});
  Owned<Bitmap> bitmap(Bitmap::create());
  ASSERT_TRUE(bitmap->create(2, 2, 24));
  EXPECT_FALSE(bitmap->save(path("taken.bmp")));
  EXPECT_EQ(testing_streams::readFile((dir_ / "taken.bmp").string()).size(), 4u);
  EXPECT_TRUE(bitmap->save(path("sub/new.bmp")));  // missing folders are created
  EXPECT_EQ(testing_streams::readFile((dir_ / "sub" / "new.bmp").string()).size(), 54u + 16u);
}

TEST_F(CodecFiles, LoadIgnoresMissingPathsAndFolders) {
  Owned<Bitmap> bitmap(Bitmap::create());
  EXPECT_FALSE(bitmap->load(path("missing.bmp")));
  EXPECT_FALSE(bitmap->load(dir_.u16string()));
  EXPECT_EQ(bitmap->getWidth(), 0);
}

TEST_F(CodecFiles, UnrecognisedFilesGiveNoCodecDamagedOnesAnEmptyOne) {
  std::vector<uint8_t> small = {'B', 'M'};
  small.resize(100, 0);
  writeBytes("small.bmp", small);  // 100 bytes: never examined
  std::vector<uint8_t> tiff = {'I', 'I', '*', 0};
  tiff.resize(200, 0);
  writeBytes("t.tif", tiff);
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  png.resize(200, 0);
  writeBytes("p.png", png);
  const char16_t* type = u"unset";
  EXPECT_FALSE(s::image::detectImageFormat(path("small.bmp"), &type));
  EXPECT_EQ(type, nullptr);
  EXPECT_FALSE(s::image::detectImageFormat(dir_.u16string(), &type));
  EXPECT_TRUE(s::image::detectImageFormat(path("t.tif"), &type));
  for (const char* name : {"small.bmp", "missing"}) {
    Owned<PathWin> file(PathWin::fromText(path(name)));
    EXPECT_EQ(s::image::decodeImageFile(file.get()), nullptr) << name;
  }
  // A signature followed by zeros: the format's codec comes back, empty.
  for (const auto& [name, extension] : {std::pair{"p.png", u".png"}, std::pair{"t.tif", u".tif"}}) {
    Owned<PathWin> file(PathWin::fromText(path(name)));
    Owned<s::image::IEncodedImage> codec(s::image::decodeImageFile(file.get()));
    ASSERT_TRUE(codec) << name;
    EXPECT_EQ(std::u16string(codec->getExtension()), extension);
    EXPECT_EQ(codec->getWidth(), 0);
  }
}

TEST_F(CodecFiles, DamagedBmpStillGivesTheObject) {
  // A valid header that promises far more pixels than the file holds.
  testing_streams::ByteWriter w;
  w.text("BM").u32(200).u32(0).u32(54)            // type, size, reserved, pixel offset
      .u32(40).s32(1000).s32(1000).u16(1).u16(24)  // header size, width, height, planes, bits
      .u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)   // compression .. colours important
      .zeros(146);
  writeBytes("cut.bmp", w.bytes);
  Owned<PathWin> file(PathWin::fromText(path("cut.bmp")));
  Owned<s::image::IEncodedImage> codec(s::image::decodeImageFile(file.get()));
  ASSERT_TRUE(codec);
  EXPECT_EQ(codec->getWidth(), 0);
}

TEST_F(CodecFiles, JpegAndPngFilesDecodeByContent) {
  // Saved under swapped extensions: the content decides.
  Owned<s::image::jpg::win::Jpeg> jpeg(s::image::jpg::win::Jpeg::create());
  ASSERT_TRUE(jpeg->create(30, 20));
  ASSERT_TRUE(jpeg->save(path("photo.png")));
  Owned<s::image::png::win::Png> png(s::image::png::win::Png::create());
  ASSERT_TRUE(png->create(7, 9));
  // Noise, so that the file passes the 100 bytes detection needs.
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 28; ++x) png->getRow(y)[x] = static_cast<uint8_t>((x * 73 + y * 151) ^ (x * y * 29));
  ASSERT_TRUE(png->save(path("drawing.jpg")));
  const struct {
    const char* name;
    const char16_t* extension;
    int width, height;
  } kCases[] = {{"photo.png", u".jpg", 30, 20}, {"drawing.jpg", u".png", 7, 9}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Owned<PathWin> file(PathWin::fromText(path(c.name)));
    Owned<s::image::IEncodedImage> codec(s::image::decodeImageFile(file.get()));
    ASSERT_TRUE(codec);
    EXPECT_EQ(std::u16string(codec->getExtension()), c.extension);
    EXPECT_EQ(codec->getWidth(), c.width);
    EXPECT_EQ(codec->getHeight(), c.height);
  }
}

}  // namespace
