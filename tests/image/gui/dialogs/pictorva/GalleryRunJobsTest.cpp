// Several pictures made at once give exactly the gallery, the events and the cancel
// point of one picture after the other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "file/TempFolder.h"
#include "image/gui/dialogs/pictorva/GalleryHarness.h"
#include "s/image/IEncodedImage.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/ico/EncodeSetting.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using namespace gallery_testing;
using s::file::testing::TempFolder;
using s::image::IEncodedImage;
using s::image::win::BufferedImageSet;
namespace fs = std::filesystem;

// Every file under folder with its bytes, by its path relative to folder.
std::map<std::string, std::string> contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), folder).generic_string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

void saveEncoded(Owned<IEncodedImage> encoded, const std::u16string& path) {
  ASSERT_TRUE(encoded);
  ASSERT_TRUE(encoded->save(path));
}

// Pictures of every format, the large ones first so that later ones are ready
// first; equal names in two folders; files that are skipped or damaged.
std::vector<std::u16string> mixedPictures(const TempFolder& folder) {
  auto jpeg = s::thread::make<s::image::jpg::EncodeSetting>();
  auto png = s::thread::make<s::image::png::EncodeSetting>();
  auto bmp = s::thread::make<s::image::bmp::EncodeSetting>();
  auto gif = s::thread::make<s::image::gif::EncodeSetting>();
  auto ico = s::thread::make<s::image::ico::EncodeSetting>();
  ico->sizes = {16, 32, 48};
  ico->depths = {8, 32};

  std::vector<std::u16string> files;
  auto add = [&](std::u16string_view name) { return files.emplace_back(folder / name); };
  EXPECT_TRUE(gradient(1600, 1200, 1)->saveJpeg(add(u"big.jpg"), *jpeg));
  writeFile(add(u"big.bmp"), bmpBytes(1200, 900, 77));
  Owned<BufferedImage> translucent = gradient(900, 700, 2);
  for (int y = 0; y < 700; y += 3) translucent->getLine(y)[3] = 40;
  translucent->setAlpha(true);
  EXPECT_TRUE(translucent->savePng(add(u"alpha.png"), *png));
  Owned<BufferedImageSet> frames(BufferedImageSet::create());
  for (int i = 0; i < 6; ++i) frames->add(gradient(320, 200, 10 * i).detach(), 8, 10, i == 0 ? 0 : 1);
  frames->setAnimation(true, 0);
  saveEncoded(gif->encodeImageSet(frames.get()), add(u"moving.gif"));
  saveEncoded(ico->encodeImage(gradient(64, 64, 3).get()), add(u"icon.ico"));
  EXPECT_TRUE(gradient(90, 60, 4)->saveGif(add(u"still.gif"), *gif));
  EXPECT_TRUE(gradient(40, 30, 5)->saveBmp(add(u"one/same.bmp"), *bmp));
  EXPECT_TRUE(gradient(40, 30, 6)->saveBmp(add(u"two/same.bmp"), *bmp));
  EXPECT_TRUE(gradient(300, 200, 7)->savePng(add(u"disguised.jpg"), *png));
  writeFile(add(u"notes.txt"), {'n', 'o'});
  std::vector<uint8_t> damaged(300, 0x5A);
  damaged[0] = 0xFF, damaged[1] = 0xD8, damaged[2] = 0xFF, damaged[3] = 0x01;
  writeFile(add(u"damaged.jpg"), damaged);
  EXPECT_TRUE(gradient(20, 10, 8)->saveJpeg(add(u"tiny.JPEG"), *jpeg));
  EXPECT_TRUE(gradient(640, 480, 9)->saveJpeg(add(u"mid.jpg"), *jpeg));
  EXPECT_TRUE(gradient(40, 30, 5)->saveBmp(add(u"three/same.bmp"), *bmp));
  return files;
}

struct Made {
  std::map<std::string, std::string> files;  // the gallery folder's, by relative path
  std::vector<Harness::Seen> events;
  size_t senders = 0;  // threads that sent the events
};

Made galleryWith(int jobs, const std::vector<std::u16string>& files, size_t pixelBudget = 0,
                 const std::function<void(Harness&, const JobEvent&)>& onEvent = nullptr) {
  Harness harness;
  harness.jobs = jobs;
  harness.run->setPixelBudget(pixelBudget);
  if (onEvent) harness.onEvent = [&](const JobEvent& event) { onEvent(harness, event); };
  EXPECT_EQ(harness.make(files), GalleryRun::StartResult::kStarted);
  Made made;
  made.files = contents(fs::path(harness.run->pagePath()).parent_path());
  made.events = harness.seen;
  std::lock_guard<std::mutex> lock(harness.queuedLock);
  made.senders = harness.senders.size();
  return made;
}

TEST(GalleryRunJobs, EveryNumberOfJobsMakesTheSameGalleryAndEvents) {
  TempFolder folder;
  const std::vector<std::u16string> files = mixedPictures(folder);
  const Made inTurn = galleryWith(1, files);
  // Every picture but the skipped and damaged ones, the equal names numbered.
  EXPECT_EQ(inTurn.files.count("simg/same (40x30).bmp") + inTurn.files.count("simg/same (40x30) (1).bmp") +
                inTurn.files.count("simg/same (40x30) (2).bmp"),
            3u);
  // The three same.bmp keep a copy each in img: same.bmp, same (1).bmp, same (2).bmp.
  EXPECT_EQ(inTurn.files.count("img/same (2).bmp"), 1u);
  EXPECT_EQ(inTurn.files.size(), 12u + 14u + 1u) << "12 small copies, 14 files in img, the page";
  // An update for every file that opens: the damaged JPEG opens, empty.
  EXPECT_EQ(inTurn.events.size(), 1u + 13u + 1u);

  struct Case {
    int jobs;
    size_t pixelBudget;
  };
  // A budget of one byte lets one picture at a time hold pixels: still no deadlock.
  for (const Case& c : {Case{2, 0}, Case{8, 0}, Case{8, 1}}) {
    SCOPED_TRACE(testing::Message() << c.jobs << " jobs, pixel budget " << c.pixelBudget);
    const Made ahead = galleryWith(c.jobs, files, c.pixelBudget);
    EXPECT_TRUE(ahead.files == inTurn.files) << "the gallery differs";
    EXPECT_EQ(ahead.events, inTurn.events);
    EXPECT_EQ(ahead.senders, 1u) << "events come from the run's worker alone";
  }
}

TEST(GalleryRunJobs, ACancelStopsAtTheSameFileAndWorkDoneAheadWritesNothing) {
  TempFolder folder;
  const std::vector<std::u16string> files = mixedPictures(folder);
  auto cancelAtThirdUpdate = [](Harness& harness, const JobEvent& event) {
    if (event.is(s::thread::kProcessStatusUpdate) && event.second == 2) harness.run->cancel();
  };
  const Made inTurn = galleryWith(1, files, 0, cancelAtThirdUpdate);
  const Made ahead = galleryWith(8, files, 0, cancelAtThirdUpdate);
  EXPECT_TRUE(ahead.files == inTurn.files) << "the gallery differs";
  EXPECT_EQ(ahead.events, inTurn.events);
  size_t smallCopies = 0;
  for (const auto& [name, bytes] : ahead.files) smallCopies += name.starts_with("simg/") ? 1 : 0;
  EXPECT_EQ(smallCopies, 3u) << "the three files announced, nothing made ahead";
  EXPECT_NE(ahead.files.at("Thumbnail (Tile).html").find("insertTable(3);"), std::string::npos);
}

TEST(GalleryRunJobs, AFileInsideTheNewGalleryIsMadeInItsTurn) {
  // The run itself writes the small copy that a later entry names: it is there only
  // when the entries before it are written first, as one thread does.
  TempFolder folder;
  std::vector<Made> made;
  for (int jobs : {1, 2}) {
    const std::u16string at = folder / (jobs == 1 ? u"one" : u"two");
    writeFile(at + u"/a.bmp", bmpBytes(300, 200));
    writeFile(at + u"/b.bmp", bmpBytes(30, 20));
    made.push_back(galleryWith(jobs, {at + u"/a.bmp", at + u"/b.bmp", at + u"/thumbnail/simg/a (150x100).bmp"}));
  }
  EXPECT_EQ(made[0].files.count("simg/a (150x100) (150x100).bmp"), 1u);
  EXPECT_TRUE(made[1].files == made[0].files) << "the gallery differs";
  EXPECT_EQ(made[1].events, made[0].events);
}

TEST(GalleryRunJobs, TheSharedTestDataMakesTheSameGalleryWithAnyNumberOfJobs) {
  TempFolder folder;
  const std::vector<std::u16string> files = sharedPictures(folder);
  if (files.size() < 100) {
    if (std::getenv("CI")) FAIL() << "the shared test data is missing: " << PICTORVA_TESTDATA;
    GTEST_SKIP() << "no shared test data at " << PICTORVA_TESTDATA;
  }
  const Made inTurn = galleryWith(1, files);
  for (int jobs : {2, 8}) {
    SCOPED_TRACE(testing::Message() << jobs << " jobs");
    const Made ahead = galleryWith(jobs, files);
    EXPECT_EQ(ahead.files.size(), inTurn.files.size());
    for (const auto& [name, bytes] : inTurn.files) {
      auto other = ahead.files.find(name);
      EXPECT_TRUE(other != ahead.files.end() && other->second == bytes) << name << " differs";
    }
    EXPECT_EQ(ahead.events, inTurn.events);
  }
}

}  // namespace
