// Small copies of the collected animations against ImageMagick's coalescing: with a
// cell larger than the picture, every frame of the small copy, as a viewer composes
// it, shows what the original shows. POSIX hosts with `convert` only.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/MagickReference.h"
#include "image/SmallCopy.h"
#include "image/gif/win/GifFixtures.h"

namespace {

namespace fs = std::filesystem;
using s::image::gif::win::Gif;
using s::thread::Owned;

// A cell larger than every collected animation: the small copy keeps the size.
constexpr int kLargeCell = 4000;
// Colours a frame's palette may round to: its colours are quantized again, and a
// composed frame may hold more colours than one table of the file's depth.
constexpr int kChannelTolerance = 32;
constexpr double kRequiredMatch = 0.99;
// Unoptimised sanitizer builds compose and quantize about twenty times slower: there
// the few large animations are left out.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kLargestComparedFile = 100 * 1024;
#else
constexpr size_t kLargestComparedFile = SIZE_MAX;
#endif

// The frames a viewer shows, flattened on white: red, green, blue bytes per pixel,
// frame after frame. As browsers do, the screen starts transparent and disposal 2
// clears to transparent, never to the file's background colour (ImageMagick paints
// that colour unless the frames carry alpha).
std::string coalesce(const fs::path& file) {
  return magick_reference::run("convert '" + file.string() +
             "' -alpha set -set background none -coalesce -background white -alpha remove -alpha off -depth 8 rgb:-");
}

// Well-formed animations whose frames stay on the screen.
bool comparable(const Gif& gif) {
  if (gif.getFrameCount() < 2) return false;
  for (int i = 0; i < gif.getFrameCount(); ++i) {
    const auto& frame = gif.getFrame(i);
    if (frame.left + frame.raster->getWidth() > gif.getScreenWidth() ||
        frame.top + frame.raster->getHeight() > gif.getScreenHeight())
      return false;
  }
  return true;
}

class GifCoalesce : public testing::Test {
 protected:
  void SetUp() override {
    if (!magick_reference::available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = fs::temp_directory_path() / ("pictorva-coalesce-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST_F(GifCoalesce, SmallCopiesShowWhatTheOriginalsShow) {
  std::vector<fs::path> files;
  for (const char* folder : {"gif-pygif", "pillow/gif", "image-rs/images/gif/anim", "gif-image-rs/samples"}) {
    const auto found = magick_reference::filesIn(std::string(PICTORVA_TESTDATA) + "/" + folder, ".gif");
    files.insert(files.end(), found.begin(), found.end());
  }
  if (files.empty() && !std::getenv("CI")) GTEST_SKIP() << "no GIF collections under " << PICTORVA_TESTDATA;
  int compared = 0;
  for (const fs::path& file : files) {
    const std::vector<uint8_t> bytes = testing_streams::readFile(file.string());
    if (bytes.size() > kLargestComparedFile) continue;
    auto original = gif_fixtures::decode(bytes);
    if (!original.ok || !comparable(*original.gif)) continue;
    SCOPED_TRACE(file.string());
    const std::vector<uint8_t> small = small_copy::make(*original.gif, kLargeCell, kLargeCell);
    ASSERT_FALSE(small.empty());
    const fs::path smallFile = dir_ / "small.gif";
    std::ofstream(smallFile, std::ios::binary).write(reinterpret_cast<const char*>(small.data()), small.size());

    // Frames and delays are kept. (ImageMagick would give a frame without a graphic
    // control block the delay of the block before; it has none.)
    auto read = gif_fixtures::decode(small);
    ASSERT_EQ(read.gif->getFrameCount(), original.gif->getFrameCount());
    for (int i = 0; i < original.gif->getFrameCount(); ++i)
      EXPECT_EQ(read.gif->getFrame(i).delay, original.gif->getFrame(i).delay) << "frame " << i;
    const std::string expected = coalesce(file);
    const std::string ours = coalesce(smallFile);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(ours.size(), expected.size());
    const size_t frameBytes = static_cast<size_t>(original.gif->getScreenWidth()) * original.gif->getScreenHeight() * 3;
    ASSERT_GT(frameBytes, 0u);
    double worst = 1.0;
    for (size_t start = 0; start + frameBytes <= ours.size(); start += frameBytes) {
      size_t matching = 0;
      for (size_t at = start; at < start + frameBytes; at += 3) {
        int difference = 0;
        for (int k = 0; k < 3; ++k)
          difference = std::max(difference, std::abs(static_cast<uint8_t>(ours[at + k]) -
                                                     static_cast<uint8_t>(expected[at + k])));
        matching += difference <= kChannelTolerance;
      }
      const double match = static_cast<double>(matching) / static_cast<double>(frameBytes / 3);
      EXPECT_GE(match, kRequiredMatch) << "frame " << (start / frameBytes);
      worst = std::min(worst, match);
    }
    RecordProperty(file.filename().string(), std::to_string(worst * 100));
    ++compared;
  }
  EXPECT_GT(compared, 30);
}

}  // namespace
#endif
