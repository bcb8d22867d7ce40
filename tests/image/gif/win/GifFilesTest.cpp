// The shared GIF collections: every file reads without crash or sanitizer report;
// where a collection gives expected pictures, a sample is compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/gif/win/GifFixtures.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

namespace fs = std::filesystem;
using gif_fixtures::decode;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

std::string testData() { return PICTORVA_TESTDATA; }

// Unoptimised sanitizer builds convert pixels about twenty times slower: there the
// few large samples are read but not converted.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kLargestConvertedFile = 100 * 1024;
#else
constexpr size_t kLargestConvertedFile = SIZE_MAX;
#endif

std::vector<fs::path> gifsUnder(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(testData() + "/" + folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".gif") files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(GifFiles, EveryCollectedFileReadsCleanly) {
  size_t count = 0;
  for (const char* folder : {"gif-pygif", "gif-peterdn", "gif-image-rs", "image-rs", "pillow"}) {
    for (const fs::path& file : gifsUnder(folder)) {
      SCOPED_TRACE(file.string());
      ++count;
      const std::vector<uint8_t> bytes = testing_streams::readFile(file.string());
      auto result = decode(bytes);
      if (bytes.size() > kLargestConvertedFile) continue;
      Owned<BufferedImageSet> set(result.gif->toImageSet(0));
      Owned<BufferedImageSet> composed(set->composeFrames());
      ASSERT_EQ(composed->getCount(), result.gif->getFrameCount());
      for (int i = 0; i < composed->getCount(); ++i) {
        EXPECT_EQ(composed->getImage(i)->getWidth(), set->getImage(0)->getWidth());
        EXPECT_EQ(composed->getImage(i)->getHeight(), set->getImage(0)->getHeight());
      }
    }
  }
  if (count == 0) GTEST_SKIP() << "no GIF collections under " << testData();
}

// Key = value lines of one section of a pygif .conf file.
std::map<std::string, std::string> confSection(const fs::path& file, const std::string& section) {
  std::map<std::string, std::string> values;
  std::ifstream in(file);
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inSection = line == "[" + section + "]";
      continue;
    }
    const size_t equals = line.find(" = ");
    if (inSection && equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 3);
  }
  return values;
}

// The first picture of each pygif case against its expected canvas. The cases left
// out decode differently by design: several images without delays are kept as
// separate frames rather than merged into one picture; a file without any image
// or only with images of width or height 0 gives no frame (rather than an empty
// canvas); a minimum code size above 8 (max-codes uses 11) leaves the frame at
// index 0, since frame indices are 8 bits.
TEST(GifFiles, PygifFirstFramesMatchTheExpectedCanvas) {
  const std::string dir = testData() + "/gif-pygif";
  std::ifstream tests(dir + "/TESTS");
  if (!tests) GTEST_SKIP() << "no pygif suite";
  const std::set<std::string> skipped = {"images-combine", "images-overlap", "animation-multi-image",
                                         "animation-multi-image-explicit-zero-delay", "no-data",
                                         "image-zero-width", "image-zero-height", "image-zero-size", "high-color",
                                         "dispose-restore-previous", "max-codes"};
  std::string name;
  int compared = 0;
  while (tests >> name) {
    if (skipped.count(name)) continue;
    const fs::path conf = dir + "/" + name + ".conf";
    auto config = confSection(conf, "config");
    const std::string frames = config["frames"];
    if (frames.empty()) continue;
    const std::string first = frames.substr(0, frames.find(','));
    const std::string pixelsFile = confSection(conf, first)["pixels"];
    if (pixelsFile.empty()) continue;
    SCOPED_TRACE(name);
    auto result = decode(testing_streams::readFile(dir + "/" + config["input"]));
    if (result.gif->getFrameCount() == 0) {
      ADD_FAILURE() << "no frame";
      continue;
    }
    Owned<BufferedImageSet> set(result.gif->toImageSet(0));
    const BufferedImage* picture = set->getImage(0);
    ASSERT_EQ(picture->getWidth(), std::stoi(config["width"]));
    ASSERT_EQ(picture->getHeight(), std::stoi(config["height"]));
    const std::vector<uint8_t> rgba = testing_streams::readFile(dir + "/" + pixelsFile);
    ASSERT_EQ(rgba.size(), static_cast<size_t>(picture->getWidth()) * picture->getHeight() * 4);
    const std::vector<uint32_t> ours = gif_fixtures::pixels(picture);
    int mismatches = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
      const uint32_t alpha = rgba[4 * i + 3];
      // Transparent pixels compare by alpha only.
      const uint32_t expected =
          alpha == 0 ? 0 : (alpha << 24) | (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
      const uint32_t got = (ours[i] >> 24) == 0 ? 0 : ours[i];
      mismatches += got != expected;
    }
    EXPECT_EQ(mismatches, 0);
    const std::string delay = confSection(conf, first)["delay"];
    if (!delay.empty()) {
      EXPECT_EQ(result.gif->getFrame(0).delay, std::stoi(delay) * 10);
    }
    ++compared;
  }
  EXPECT_GT(compared, 40);
}

uint32_t crc32(const std::vector<uint8_t>& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// The image-rs samples list a CRC-32 over every frame's own rectangle as RGBA;
// transparent pixels keep their colour-table colour with alpha 0.
TEST(GifFiles, ImageRsSamplesMatchTheirFrameChecksums) {
  std::ifstream results(testData() + "/gif-image-rs/results.txt");
  if (!results) GTEST_SKIP() << "no image-rs samples";
  std::string line;
  int compared = 0;
  while (std::getline(results, line)) {
    const size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    const std::string file = line.substr(line.find('/') + 1, colon - line.find('/') - 1);
    const uint32_t expected = static_cast<uint32_t>(std::stoul(line.substr(colon + 2)));
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = testing_streams::readFile(testData() + "/gif-image-rs/" + file);
    if (bytes.size() > kLargestConvertedFile) continue;
    auto result = decode(bytes);
    std::vector<uint8_t> rgba;
    for (int i = 0; i < result.gif->getFrameCount(); ++i) {
      Owned<BufferedImage> frame(result.gif->toBufferedImage(i, nullptr));
      for (uint32_t pixel : gif_fixtures::pixels(frame.get())) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                 static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 24)});
      }
    }
    EXPECT_EQ(crc32(rgba), expected);
    ++compared;
  }
  EXPECT_GT(compared, 5);
}

}  // namespace
