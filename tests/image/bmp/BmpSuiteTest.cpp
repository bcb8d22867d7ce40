// The BMP conformance suite: good files decode to the same pixels as an
// independent decoder (ImageMagick, when installed); questionable and bad files
// decode or fail cleanly (run under the sanitizers).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "image/bmp/BmpFixtures.h"

namespace {

namespace fs = std::filesystem;

std::string suiteDir() { return std::string(PICTORVA_TESTDATA) + "/bmpsuite"; }

std::vector<fs::path> filesIn(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(suiteDir() + "/" + folder, error))
    if (entry.path().extension() == ".bmp") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

#ifndef _WIN32
bool haveConvert() {
  static const bool present = std::system("convert -version >/dev/null 2>&1") == 0;
  return present;
}

// ImageMagick's decoding as 0xAARRGGBB words, top row first; empty on failure.
std::vector<uint32_t> referencePixels(const fs::path& file) {
  std::string command = "convert '" + file.string() + "' -depth 8 rgba:- 2>/dev/null";
  std::vector<uint32_t> pixels;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return pixels;
  uint8_t rgba[4];
  while (std::fread(rgba, 1, 4, pipe) == 4)
    pixels.push_back(rgba[2] | (rgba[1] << 8) | (rgba[0] << 16) | (static_cast<uint32_t>(rgba[3]) << 24));
  pclose(pipe);
  return pixels;
}

int channelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    worst = d > worst ? d : worst;
  }
  return worst;
}
#endif

TEST(BmpSuite, GoodFilesMatchAnIndependentDecoder) {
  std::vector<fs::path> files = filesIn("g");
  if (files.empty()) GTEST_SKIP() << "no bmpsuite at " << suiteDir();
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    bmp_fixtures::Decoded ours = bmp_fixtures::decode(testing_streams::readFile(file.string()));
    EXPECT_TRUE(ours.readOk);
    EXPECT_GT(ours.width, 0);
#ifndef _WIN32
    if (!haveConvert()) continue;
    std::vector<uint32_t> reference = referencePixels(file);
    ASSERT_EQ(reference.size(), ours.pixels.size());
    int worst = 0;
    for (size_t i = 0; i < reference.size(); ++i) worst = std::max(worst, channelDistance(reference[i], ours.pixels[i]));
    // Channels widened from fewer than 8 bits may round one step apart.
    EXPECT_LE(worst, 1);
#endif
  }
}

TEST(BmpSuite, QuestionableAndBadFilesDecodeOrFailCleanly) {
  std::vector<fs::path> files = filesIn("q");
  for (const fs::path& file : filesIn("b")) files.push_back(file);
  for (const fs::path& file : filesIn("x")) files.push_back(file);
  if (files.empty()) GTEST_SKIP() << "no bmpsuite at " << suiteDir();
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    bmp_fixtures::Decoded ours = bmp_fixtures::decode(testing_streams::readFile(file.string()));
    // Either a picture of the declared size or nothing; never a half-sized raster.
    EXPECT_EQ(ours.pixels.size(), static_cast<size_t>(ours.width) * ours.height);
  }
}

}  // namespace
