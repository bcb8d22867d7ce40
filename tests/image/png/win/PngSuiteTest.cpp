// PngSuite and the malformed-file collections: every valid file decodes to the
// same RGBA as ImageMagick, every corrupted one fails, nothing crashes (run under
// the sanitizers too).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "image/MagickReference.h"
#include "io/MemoryStreams.h"
#include "s/image/png/win/Png.h"
#include "s/thread/Owned.h"

namespace {

namespace fs = std::filesystem;
using s::image::png::win::Png;
using s::thread::Owned;

std::string testdata(const char* folder) { return std::string(PICTORVA_TESTDATA) + "/" + folder; }

struct Decoded {
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // as the reference gives it: red, green, blue, alpha
};

Decoded decodeFile(const fs::path& file) {
  testing_streams::MemoryInputStream in(testing_streams::readFile(file.string()));
  Owned<Png> png(Png::create());
  Decoded decoded;
  decoded.ok = png->read(in);
  decoded.width = png->getWidth();
  decoded.height = png->getHeight();
  for (int y = 0; y < decoded.height; ++y) {
    const uint8_t* row = png->getRow(y);
    for (int x = 0; x < decoded.width; ++x, row += 4) {
      decoded.rgba.insert(decoded.rgba.end(), {row[2], row[1], row[0], row[3]});
    }
  }
  return decoded;
}

// ImageMagick turns gamma and chromaticity chunks into colour conversions of the
// pixels; a PNG decoder hands out the stored samples. The reference therefore reads
// a copy without those chunks.
std::vector<uint8_t> withoutColourChunks(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> out(file.begin(), file.begin() + std::min<size_t>(8, file.size()));
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const size_t length = (size_t{file[at]} << 24) | (file[at + 1] << 16) | (file[at + 2] << 8) | file[at + 3];
    if (length > file.size() - at - 12) break;
    const std::string type(file.begin() + static_cast<ptrdiff_t>(at + 4), file.begin() + static_cast<ptrdiff_t>(at + 8));
    if (type != "gAMA" && type != "cHRM" && type != "sRGB" && type != "iCCP")
      out.insert(out.end(), file.begin() + static_cast<ptrdiff_t>(at), file.begin() + static_cast<ptrdiff_t>(at + 12 + length));
    at += 12 + length;
  }
  return out;
}

// 16-bit files are read at 16 bits and cut to their high bytes: the decoder keeps
// the high byte of each sample, where ImageMagick's 8-bit output would round.
magick_reference::Rgba referenceOf(const fs::path& file, bool sixteenBit) {
  const fs::path copy = fs::temp_directory_path() / ("pictorva-png-ref-" + file.filename().string());
  std::vector<uint8_t> bytes = withoutColourChunks(testing_streams::readFile(file.string()));
  std::ofstream(copy, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  magick_reference::Rgba reference = magick_reference::decode(copy, "", sixteenBit ? 16 : 8);
  fs::remove(copy);
  if (sixteenBit) {
    for (size_t i = 0; i < reference.bytes.size() / 2; ++i) reference.bytes[i] = reference.bytes[2 * i];
    reference.bytes.resize(reference.bytes.size() / 2);
  }
  return reference;
}

TEST(PngSuite, ValidFilesMatchImageMagick) {
  std::vector<fs::path> files = magick_reference::filesIn(testdata("pngsuite"), ".png");
  if (files.empty()) GTEST_SKIP() << "no PngSuite";
  int compared = 0;
  for (const fs::path& file : files) {
    if (file.filename().string()[0] == 'x') continue;
    SCOPED_TRACE(file.filename().string());
    Decoded ours = decodeFile(file);
    EXPECT_TRUE(ours.ok);
    EXPECT_GT(ours.width, 0);
    if (!magick_reference::available()) continue;
    magick_reference::Rgba reference = referenceOf(file, file.stem().string().ends_with("16"));
    ASSERT_EQ(reference.bytes.size(), ours.rgba.size());
    int worst = 0;
    for (size_t i = 0; i < ours.rgba.size(); ++i) worst = std::max(worst, std::abs(ours.rgba[i] - reference.bytes[i]));
    EXPECT_EQ(worst, 0);
    ++compared;
  }
  if (magick_reference::available()) {
    EXPECT_GT(compared, 150);
  }
}

TEST(PngSuite, CorruptedFilesFailCleanly) {
  std::vector<fs::path> files = magick_reference::filesIn(testdata("pngsuite"), ".png");
  if (files.empty()) GTEST_SKIP() << "no PngSuite";
  int corrupted = 0;
  for (const fs::path& file : files) {
    if (file.filename().string()[0] != 'x') continue;
    SCOPED_TRACE(file.filename().string());
    EXPECT_FALSE(decodeFile(file).ok);
    ++corrupted;
  }
  EXPECT_EQ(corrupted, 14);
}

// Crashers, huge chunks, bad palettes, truncated and padded streams: any outcome
// but a crash, a hang or an unbounded allocation.
TEST(PngSuite, MalformedCollectionsDecodeOrFailCleanly) {
  int seen = 0;
  for (const char* folder : {"libpng-testpngs", "pillow/png-malformed", "image-rs"}) {
    for (const fs::path& file : magick_reference::filesIn(testdata(folder), ".png")) {
      SCOPED_TRACE(file.string());
      Decoded decoded = decodeFile(file);
      EXPECT_EQ(decoded.rgba.size(), static_cast<size_t>(decoded.width) * decoded.height * 4);
      ++seen;
    }
  }
  if (seen == 0) GTEST_SKIP() << "no malformed collections";
}

}  // namespace
