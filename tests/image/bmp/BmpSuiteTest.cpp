// The BMP conformance suite: good files decode to the same pixels as an
// independent decoder (ImageMagick, when installed); questionable and bad files
// decode or fail cleanly (run under the sanitizers).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
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

#ifndef _WIN32
// The image-rs collection with its reference renderings (PNG, read through
// ImageMagick): a second independent decoder, covering every header version
// bottom-up and top-down.
TEST(BmpSuite, ImageRsFilesMatchTheirReferenceRenderings) {
  const std::string root = std::string(PICTORVA_TESTDATA) + "/image-rs";
  if (!fs::exists(root + "/images/bmp/images") || !haveConvert()) GTEST_SKIP() << "no image-rs data or convert";
  // Deliberate differences: 16-bit files whose alpha bits are all 0 read as opaque
  // (as 32-bit files do); pixels an RLE file skips keep colour index 0; 2-bit and
  // RLE24 files are not read.
  const std::set<std::string> policy = {"V3_A1_R5_G5_B5.bmp", "V3_A1_R5_G5_B5_Top_Down.bmp", "V3_A4_R4_G4_B4.bmp",
                                        "V3_A4_R4_G4_B4_Top_Down.bmp", "pal4rlecut.bmp", "pal4rletrns.bmp",
                                        "pal2.bmp", "pal2color.bmp", "rgb24rle24.bmp"};
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(root + "/images/bmp/images")) {
    const std::string name = entry.path().filename().string();
    const fs::path reference = root + "/reference/bmp/images/" + name + ".png";
    if (entry.path().extension() != ".bmp" || policy.count(name) || !fs::exists(reference)) continue;
    SCOPED_TRACE(name);
    bmp_fixtures::Decoded ours = bmp_fixtures::decode(testing_streams::readFile(entry.path().string()));
    EXPECT_TRUE(ours.readOk);
    std::vector<uint32_t> expected = referencePixels(reference);
    ASSERT_EQ(expected.size(), ours.pixels.size());
    int worst = 0;
    for (size_t i = 0; i < expected.size(); ++i) worst = std::max(worst, channelDistance(expected[i], ours.pixels[i]));
    EXPECT_LE(worst, 1);
    ++compared;
  }
  EXPECT_GT(compared, 40);
}
#endif

TEST(BmpSuite, QuestionableAndBadFilesDecodeOrFailCleanly) {
  std::vector<fs::path> files = filesIn("q");
  for (const fs::path& file : filesIn("b")) files.push_back(file);
  for (const fs::path& file : filesIn("x")) files.push_back(file);
  // Malformed files of other collections.
  for (const char* folder : {"/image-rs/bad/bmp", "/image-rs/images/bmp/images/lenient", "/pillow/bmp"}) {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(std::string(PICTORVA_TESTDATA) + folder, error))
      if (entry.path().extension() == ".bmp") files.push_back(entry.path());
  }
  if (files.empty()) GTEST_SKIP() << "no bmpsuite at " << suiteDir();
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    bmp_fixtures::Decoded ours = bmp_fixtures::decode(testing_streams::readFile(file.string()));
    // Either a picture of the declared size or nothing; never a half-sized raster.
    EXPECT_EQ(ours.pixels.size(), static_cast<size_t>(ours.width) * ours.height);
  }
}

}  // namespace
