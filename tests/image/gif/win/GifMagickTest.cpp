// Interchange with ImageMagick: GIFs it writes decode here to its own colours, and
// GIFs written here decode there to the same pixels. Skipped when `convert` is not
// installed (and on Windows).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image/MagickReference.h"
#include "image/gif/win/GifFixtures.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

namespace fs = std::filesystem;
using gif_fixtures::decode;
using gif_fixtures::picture;
using magick_reference::run;
using s::image::gif::win::Gif;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

// ImageMagick's pixels as 0xAARRGGBB words; transparent pixels become 0.
std::vector<uint32_t> magickPixels(const std::string& arguments) {
  const std::string raw = run("convert " + arguments + " -depth 8 rgba:-");
  std::vector<uint32_t> pixels;
  for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
    const auto* p = reinterpret_cast<const uint8_t*>(raw.data() + i);
    pixels.push_back(p[3] == 0 ? 0 : (static_cast<uint32_t>(p[3]) << 24) | (p[0] << 16) | (p[1] << 8) | p[2]);
  }
  return pixels;
}

std::vector<uint32_t> ourPixels(const BufferedImage* image) {
  std::vector<uint32_t> pixels = gif_fixtures::pixels(image);
  for (uint32_t& pixel : pixels)
    if ((pixel >> 24) == 0) pixel = 0;
  return pixels;
}

class GifMagick : public testing::Test {
 protected:
  void SetUp() override {
    if (!magick_reference::available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = fs::temp_directory_path() /
           ("pictorva-gif-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(GifMagick, ItsFilesDecodeToItsOwnColours) {
  struct Case {
    const char* name;
    const char* arguments;  // convert arguments before the output file
  };
  const Case cases[] = {
      {"still", "-size 16x8 gradient:red-blue"},
      {"interlaced", "-size 17x13 gradient:yellow-navy -interlace GIF"},
      {"transparent", "-size 9x7 xc:none -fill red -draw 'rectangle 2,2,5,4'"},
      {"two colours", "-size 10x3 pattern:checkerboard -monochrome"},
      {"disposal modes",
       "-delay 20 -dispose None -size 8x6 xc:red -dispose Background -delay 35 -page +2+1 -size 3x3 xc:blue "
       "-dispose Previous -page +4+2 -size 4x4 xc:lime -loop 0"},
      {"transparent animation",
       "-delay 5 -dispose None -size 6x6 xc:none -fill red -draw 'point 1,1' -page +1+2 -size 2x2 xc:none -fill "
       "navy -draw 'point 0,0' -loop 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = path(std::string(c.name) + ".gif");
    std::system(("convert " + std::string(c.arguments) + " '" + file + "'").c_str());
    auto result = decode(testing_streams::readFile(file));
    ASSERT_TRUE(result.ok);
    std::istringstream described(run("identify -format '%T %D\\n' '" + file + "'"));
    int frame = 0;
    int delay = 0;
    std::string disposal;
    while (described >> delay >> disposal) {
      ASSERT_LT(frame, result.gif->getFrameCount());
      EXPECT_EQ(result.gif->getFrame(frame).delay, delay * 10);
      const char* names[] = {"Undefined", "None", "Background", "Previous"};
      const int ourDisposal = result.gif->getFrame(frame).disposal;
      EXPECT_EQ(disposal, ourDisposal < 4 ? names[ourDisposal] : "?");
      Owned<BufferedImage> picture(result.gif->toBufferedImage(frame, nullptr));
      EXPECT_EQ(ourPixels(picture.get()), magickPixels("'" + file + "[" + std::to_string(frame) + "]'")) << frame;
      ++frame;
    }
    EXPECT_EQ(frame, result.gif->getFrameCount());
  }
}

TEST_F(GifMagick, DrawnOverTheirPredecessorsFramesMatchItsCoalescing) {
  const std::string file = path("partial.gif");
  std::system(("convert -delay 10 -dispose None -size 8x6 xc:red -page +2+1 -size 3x3 xc:blue -page +5+3 -size 3x3 "
               "xc:lime -page +6+0 -size 4x4 xc:yellow '" + file + "'").c_str());
  auto result = decode(testing_streams::readFile(file));
  ASSERT_TRUE(result.ok);
  Owned<BufferedImageSet> set(result.gif->toImageSet(0));
  Owned<BufferedImageSet> composed(set->composeFrames());
  std::vector<uint32_t> ours;
  for (int i = 0; i < composed->getCount(); ++i) {
    const std::vector<uint32_t> frame = ourPixels(composed->getImage(i));
    ours.insert(ours.end(), frame.begin(), frame.end());
  }
  EXPECT_EQ(composed->getCount(), 4);
  EXPECT_EQ(ours, magickPixels("'" + file + "' -coalesce"));
}

TEST_F(GifMagick, OurFilesDecodeThereToTheSamePixels) {
  // A still picture with transparency and fewer colours than the palette holds.
  std::vector<uint32_t> argb;
  for (int i = 0; i < 7 * 5; ++i) argb.push_back(i % 6 == 0 ? 0x00000000u : 0xFF000000u | (i * 0x070B13u));
  Owned<Gif> still(Gif::create());
  ASSERT_TRUE(still->fromBufferedImage(picture(7, 5, argb).get(), 8, true, 255, 255, 255, 96));
  testing_streams::MemoryOutputStream out;
  ASSERT_TRUE(still->write(out));
  const std::string stillFile = path("still.gif");
  std::ofstream(stillFile, std::ios::binary).write(reinterpret_cast<const char*>(out.data.data()), out.data.size());
  Owned<BufferedImage> ours(still->toBufferedImage(0, nullptr));
  EXPECT_EQ(ourPixels(ours.get()), magickPixels("'" + stillFile + "'"));

  // An animation of changes: coalesced there, the frames are the set's pictures.
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  for (int i = 0; i < 4; ++i) {
    std::vector<uint32_t> frame(6 * 4, 0xFF336699u);
    frame[static_cast<size_t>(i * 5)] = 0xFFFF0000u;
    frame[static_cast<size_t>(23 - i)] = 0xFF00FF00u;
    set->add(picture(6, 4, frame).detach(), 8, 40, 0);
  }
  set->setAnimation(true, 0);
  Owned<Gif> animation(Gif::create());
  ASSERT_TRUE(animation->fromImageSet(set.get(), 8, true, 255, 255, 255));
  testing_streams::MemoryOutputStream animationOut;
  ASSERT_TRUE(animation->write(animationOut));
  const std::string animationFile = path("animation.gif");
  std::ofstream(animationFile, std::ios::binary)
      .write(reinterpret_cast<const char*>(animationOut.data.data()), animationOut.data.size());
  std::vector<uint32_t> expected;
  for (int i = 0; i < 4; ++i) {
    const std::vector<uint32_t> frame = ourPixels(set->getImage(i));
    expected.insert(expected.end(), frame.begin(), frame.end());
  }
  EXPECT_EQ(magickPixels("'" + animationFile + "' -coalesce"), expected);
  EXPECT_EQ(run("identify -format '%T ' '" + animationFile + "'"), "4 4 4 4 ");
}

}  // namespace
#endif
