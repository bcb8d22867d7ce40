// Interchange with ImageMagick: icons it writes decode here, entry by entry, to the
// pixels it decodes itself, and icons written here decode there to ours. Skipped
// when `convert` is not installed (and on Windows).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "image/ico/win/IconMagickCompare.h"
#include "s/image/ico/EncodeSetting.h"

namespace {

namespace fs = std::filesystem;
using namespace icon_fixtures;
using icon_magick::compareEntries;

class IconMagick : public testing::Test {
 protected:
  void SetUp() override {
    if (!magick_reference::available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = fs::temp_directory_path() / ("pictorva-ico-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void convert(const std::string& arguments) const {
    ASSERT_EQ(std::system(("cd '" + dir_.string() + "' && convert " + arguments + " 2>/dev/null").c_str()), 0)
        << arguments;
  }
  fs::path dir_;
};

TEST_F(IconMagick, ItsIconsDecodeToItsPixels) {
  // 32 bits with partial transparency, resized by ImageMagick, 256 as PNG.
  convert("-size 64x64 radial-gradient:'rgba(255,0,0,1)-rgba(0,0,255,0)' "
          "-define icon:auto-resize=16,32,48,256 a32.ico");
  EXPECT_EQ(compareEntries(path("a32.ico")), 4);
  // 8 bits from palette pictures.
  for (int size : {16, 32, 48})
    convert("-size " + std::to_string(size) + "x" + std::to_string(size) +
            " radial-gradient:'rgb(255,200,0)-rgb(0,0,255)' +dither -colors 100 -type Palette p" +
            std::to_string(size) + ".bmp");
  convert("p16.bmp p32.bmp p48.bmp -type Palette b8.ico");
  EXPECT_EQ(compareEntries(path("b8.ico")), 3);
  // Two colours and a transparent quarter: 1 bit with the mask, then 32 bits.
  convert("-size 16x16 xc:red -fill 'rgba(0,0,0,0)' -draw 'rectangle 0,0 7,7' -type PaletteAlpha "
          "-define icon:auto-resize=16,32 c.ico");
  EXPECT_EQ(compareEntries(path("c.ico")), 2);
}

TEST_F(IconMagick, OurIconsDecodeThereToOurPixels) {
  // A picture with soft and hard transparency and many colours.
  Owned<BufferedImage> image = picture(90, 70, [](int x, int y) -> uint32_t {
    const uint32_t alpha = x < 10 ? 0 : (y < 10 ? static_cast<uint32_t>(x * 2) : 255);
    return (alpha << 24) | (static_cast<uint32_t>(x * 2) << 16) | (static_cast<uint32_t>(y * 3) << 8) |
           static_cast<uint32_t>((x + y) & 0xFF);
  });
  Owned<s::image::ico::EncodeSetting> setting = s::thread::make<s::image::ico::EncodeSetting>();
  setting->sizes = {16, 24, 48, 256};
  // ImageMagick's reader has no 16-bit icon images.
  setting->depths = {1, 4, 8, 24, 32};
  Owned<s::image::IEncodedImage> icon(setting->encodeImage(image.get()));
  ASSERT_TRUE(icon);
  ASSERT_TRUE(icon->save(fs::path(path("ours.ico")).u16string()));
  EXPECT_EQ(compareEntries(path("ours.ico")), 16);
}

}  // namespace
#endif
