// The galleries of the sample pictures and of the shared test data, against digests
// recorded from an earlier build: a change of how the gallery is made may not change
// what it makes. Pages and the small copies of our own codecs (BMP, GIF, ICO) are
// compared by their bytes; JPEG and PNG small copies by their decoded pixels, since
// their bytes follow the installed libjpeg-turbo, libpng and zlib.
//
// PICTORVA_WRITE_DIGESTS=1 writes the digests anew (into the source tree) instead of
// comparing; do so only for a change that means to change the galleries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "file/TempFolder.h"
#include "image/gui/dialogs/pictorva/GalleryHarness.h"
#include "s/image/gui/dialogs/pictorva/GalleryCore.h"
#include "s/digest/Md5.h"
#include "s/image/IEncodedImage.h"
#include "s/image/ImageFormat.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using namespace gallery_testing;
using s::file::testing::TempFolder;
using s::image::IEncodedImage;
using s::image::ImageType;
using s::image::win::BufferedImageSet;
namespace fs = std::filesystem;

const fs::path kDigestFile = fs::path(PICTORVA_SOURCE_DIR) / "tests/image/gui/dialogs/pictorva/gallery-digests.txt";

std::string hexOf(s::digest::Md5& md5) {
  md5.finish();
  std::string hex;
  char pair[3];
  for (size_t i = 0; i < md5.valueSize(); ++i) {
    std::snprintf(pair, sizeof pair, "%02x", md5.value()[i]);
    hex += pair;
  }
  return hex;
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "bytes <md5>" of the file, or for a JPEG or PNG "pixels <md5>" of every decoded
// picture's size and rows.
std::string digestOf(const fs::path& file) {
  const std::string bytes = bytesOf(file);
  s::digest::Md5 md5;
  const ImageType type = s::image::ImageFormat::detect(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                       std::min(bytes.size(), s::image::ImageFormat::kPrefixBytes),
                                                       static_cast<int64_t>(bytes.size()));
  if (type == ImageType::kJpg || type == ImageType::kPng) {
    Owned<IEncodedImage> codec(s::image::decodeImageFile(s::file::testing::pathOf(file.u16string()).get()));
    Owned<BufferedImageSet> set(codec ? codec->toImageSet(0) : nullptr);
    if (set) {
      for (int i = 0; i < set->getCount(); ++i) {
        BufferedImage* image = set->getImage(i);
        const int size[2] = {image->getWidth(), image->getHeight()};
        md5.update(size, sizeof size);
        for (int y = 0; y < size[1]; ++y) md5.update(image->getLine(y), static_cast<size_t>(size[0]) * 4);
      }
      return "pixels " + hexOf(md5);
    }
  }
  md5.update(bytes.data(), bytes.size());
  return "bytes " + hexOf(md5);
}

struct GallerySet {
  std::string name;
  int32_t style;
  int32_t cellWidth, cellHeight;
  bool shared;  // the shared test data, else the sample pictures
};

// Copies the sample pictures into folder: the gallery goes beside the first.
std::vector<std::u16string> samplePictures(const TempFolder& folder) {
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(PICTORVA_SOURCE_DIR) / "samples")) {
    if (entry.path().extension() != ".md") found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  std::vector<std::u16string> files;
  for (const fs::path& path : found) {
    files.push_back(folder / path.filename().u16string());
    fs::copy_file(path, fs::path(files.back()));
  }
  return files;
}

// The gallery of one set: "set<TAB>relative path<TAB>digest" for every file in it.
std::vector<std::string> galleryLines(const GallerySet& set, const std::vector<std::u16string>& files) {
  Owned<Setting> setting(Setting::create());
  setting->style = set.style;
  setting->title->assign(u"Thumbnail (Tile)");
  setting->cellWidth = set.cellWidth;
  setting->cellHeight = set.cellHeight;
  RecordedProgress progress;
  pictorva::GalleryCore core(0);
  const pictorva::GalleryOutcome outcome = core.make(*setting, files, progress);
  EXPECT_TRUE(outcome.failures.empty());
  const fs::path gallery(outcome.folder);
  std::vector<std::string> lines;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(gallery)) {
    if (!entry.is_regular_file()) continue;
    lines.push_back(set.name + "\t" + fs::relative(entry.path(), gallery).generic_string() + "\t" +
                    digestOf(entry.path()));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> storedLines() {
  std::ifstream in(kDigestFile);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

TEST(GalleryDigests, TheGalleriesAreTheOnesRecorded) {
  const GallerySet sets[] = {
      {"samples-tile", Setting::kStyleTile, 150, 150, false},
      {"samples-tile-90x60", Setting::kStyleTile, 90, 60, false},
      {"samples-flat", Setting::kStyleFlat, 150, 150, false},
      {"shared-tile", Setting::kStyleTile, 150, 150, true},
      {"shared-flat", Setting::kStyleFlat, 150, 150, true},
  };
  std::vector<std::string> made;
  for (const GallerySet& set : sets) {
    TempFolder folder;
    const std::vector<std::u16string> files = set.shared ? sharedPictures(folder) : samplePictures(folder);
    if (set.shared && files.size() < 100) {
      if (std::getenv("CI")) FAIL() << "the shared test data is missing: " << PICTORVA_TESTDATA;
      GTEST_SKIP() << "no shared test data at " << PICTORVA_TESTDATA;
    }
    for (std::string& line : galleryLines(set, files)) made.push_back(std::move(line));
  }
  std::sort(made.begin(), made.end());
  if (std::getenv("PICTORVA_WRITE_DIGESTS")) {
    std::ofstream out(kDigestFile, std::ios::binary);
    out << "# set\tfile in the gallery\tdigest (written by GalleryDigests with PICTORVA_WRITE_DIGESTS=1)\n";
    for (const std::string& line : made) out << line << "\n";
    GTEST_SKIP() << "wrote " << made.size() << " digests to " << kDigestFile;
  }
  const std::vector<std::string> stored = storedLines();
  ASSERT_FALSE(stored.empty()) << "no digests at " << kDigestFile;
  std::vector<std::string> missing, extra;
  std::set_difference(stored.begin(), stored.end(), made.begin(), made.end(), std::back_inserter(missing));
  std::set_difference(made.begin(), made.end(), stored.begin(), stored.end(), std::back_inserter(extra));
  std::ostringstream shown;
  for (size_t i = 0; i < std::min<size_t>(missing.size(), 20); ++i) shown << "\n  recorded: " << missing[i];
  for (size_t i = 0; i < std::min<size_t>(extra.size(), 20); ++i) shown << "\n  made:     " << extra[i];
  EXPECT_TRUE(missing.empty() && extra.empty())
      << missing.size() << " recorded lines not made, " << extra.size() << " made lines not recorded" << shown.str();
}

}  // namespace
