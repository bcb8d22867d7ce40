#include "s/image/gui/dialogs/pictorva/GalleryRun.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "file/TempFolder.h"
#include "image/gui/dialogs/pictorva/GalleryHarness.h"
#include "s/file/win/FileOutputStream.h"
#include "s/image/bmp/win/RasterMemory.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using namespace gallery_testing;
using s::file::testing::TempFolder;
using s::image::gui::dialogs::pictorva::GalleryCore;
using s::image::bmp::win::RasterMemory;
using s::image::win::BufferedImageSet;

TEST(GalleryRun, TileGalleryWithSmallCopiesRowsAndEvents) {
  TempFolder folder;
  writeFile(folder / u"wide.BMP", bmpBytes(1000, 500));
  writeFile(folder / u"small.bmp", bmpBytes(100, 80));
  Harness harness;
  ASSERT_EQ(harness.make({folder / u"wide.BMP", folder / u"small.bmp"}), GalleryRun::StartResult::kStarted);

  EXPECT_EQ(names(folder / u"thumbnail"),
            (std::vector<std::u16string>{u"Thumbnail (Tile).html", u"img", u"simg"}));
  EXPECT_EQ(names(folder / u"thumbnail/img"), (std::vector<std::u16string>{u"small.bmp", u"wide.BMP"}));
  // Fitted into 150 x 150, never enlarged.
  EXPECT_EQ(names(folder / u"thumbnail/simg"),
            (std::vector<std::u16string>{u"small (100x80).bmp", u"wide (150x75).BMP"}));
  EXPECT_EQ(harness.run->pagePath(), folder / u"thumbnail/Thumbnail (Tile).html");
  const std::string page = readText(folder / u"thumbnail/Thumbnail (Tile).html");
  EXPECT_NE(page.find("window.thumb.addImage('simg/wide%20(150x75).BMP', 150, 75, 'wide', 'img/wide.BMP', "
                      "1000, 500, '1465k', 'BMP');\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("window.thumb.insertTable(2);"), std::string::npos);

  EXPECT_EQ(harness.eventNames(),
            (std::vector<std::u16string>{s::thread::kProcessStatusStart, s::thread::kProcessStatusUpdate,
                                         s::thread::kProcessStatusUpdate, s::thread::kProcessStatusEnd}));
  EXPECT_EQ(harness.seen[1].first, 2u);
  EXPECT_EQ(harness.seen[2].second, 1u);
  EXPECT_EQ(harness.seen[2].text, u"small.bmp");
  EXPECT_EQ(harness.seen[3].first, 0u) << "complete";
}

TEST(GalleryRun, GalleryFoldersAreNumberedAndNeverReused) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  Harness harness;
  for (int i = 0; i < 3; ++i) harness.make({folder / u"a.bmp"});
  EXPECT_TRUE(exists(folder / u"thumbnail/img/a.bmp"));
  EXPECT_TRUE(exists(folder / u"thumbnail (1)/img/a.bmp"));
  EXPECT_TRUE(exists(folder / u"thumbnail (2)/simg/a (20x10).bmp"));
}

TEST(GalleryRun, SkippedSourcesAreStillCopiedAndSameNamesEachKeepACopy) {
  TempFolder folder;
  writeFile(folder / u"one/x.bmp", bmpBytes(30, 20, 10));
  writeFile(folder / u"two/x.bmp", bmpBytes(30, 20, 200));
  writeFile(folder / u"one/notes.txt", {'h', 'i'});
  writeFile(folder / u"one/scan.tif", {'I', 'I', 42, 0});
  std::vector<uint8_t> tiny = bmpBytes(5, 5);
  tiny.resize(100);  // files of 100 bytes or fewer are never recognised
  writeFile(folder / u"one/tiny.bmp", tiny);
  s::file::testing::pathOf(folder / u"one/sub")->createDirectory();
  Harness harness;
  harness.make({folder / u"one/x.bmp", folder / u"two/x.bmp", folder / u"one/notes.txt", folder / u"one/scan.tif",
                folder / u"one/tiny.bmp", folder / u"one/sub"});
  const std::u16string gallery = folder / u"one/thumbnail";
  EXPECT_EQ(names(gallery + u"/img"),
            (std::vector<std::u16string>{u"notes.txt", u"scan.tif", u"tiny.bmp", u"x (1).bmp", u"x.bmp"}))
      << "a dropped folder gives its pictures, and is not copied itself";
  // The files claim their names in drop order: the first keeps its own.
  EXPECT_EQ(readText(gallery + u"/img/x.bmp")[60], static_cast<char>(10));
  EXPECT_EQ(readText(gallery + u"/img/x (1).bmp")[60], static_cast<char>(200));
  const std::string page = readText(gallery + u"/Thumbnail (Tile).html");
  EXPECT_NE(page.find("'x', 'img/x.bmp'"), std::string::npos);
  EXPECT_NE(page.find("'x', 'img/x%20(1).bmp'"), std::string::npos) << "each row links to its own file";
  // The two pictures of the same name and size get distinct small copies.
  EXPECT_EQ(names(gallery + u"/simg"), (std::vector<std::u16string>{u"x (30x20) (1).bmp", u"x (30x20).bmp"}));
  EXPECT_NE(readText(gallery + u"/Thumbnail (Tile).html").find("insertTable(2);"), std::string::npos);
}

TEST(GalleryRun, CellSizeZeroMakesNoSmallCopies) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  Harness harness;
  harness.cellWidth = 0;
  harness.title = u"";
  harness.make({folder / u"a.bmp"});
  EXPECT_TRUE(exists(folder / u"thumbnail/img/a.bmp"));
  EXPECT_FALSE(exists(folder / u"thumbnail/simg/a (0x10).bmp"));
  // An empty title names the page ".html".
  EXPECT_NE(readText(folder / u"thumbnail/.html").find("insertTable(0);"), std::string::npos);
}

TEST(GalleryRun, TitleNeverPlacesThePageOutsideTheGallery) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  Harness harness;
  harness.title = u"../../report";
  harness.make({folder / u"a.bmp"});
  EXPECT_TRUE(exists(folder / u"thumbnail/.._.._report.html"));
  EXPECT_NE(readText(folder / u"thumbnail/.._.._report.html").find("<title>../../report</title>"), std::string::npos);
  EXPECT_EQ(GalleryCore::pageFileName(u"a:b*c?\"d<e>f|g\\h"), u"a_b_c__d_e_f_g_h.html");
}

TEST(GalleryRun, CancelKeepsTheRowsSoFarAndCopiesEverything) {
  TempFolder folder;
  std::vector<std::u16string> files;
  for (int i = 0; i < 4; ++i) {
    files.push_back(folder / (u"p" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".bmp"));
    writeFile(files.back(), bmpBytes(40, 30));
  }
  Harness harness;
  harness.onEvent = [&](const JobEvent& event) {
    if (event.is(s::thread::kProcessStatusUpdate) && event.second == 1) harness.run->cancel();
  };
  harness.make(files);
  EXPECT_EQ(names(folder / u"thumbnail/img").size(), 4u);
  EXPECT_EQ(names(folder / u"thumbnail/simg").size(), 2u) << "the file being processed is finished";
  EXPECT_NE(readText(folder / u"thumbnail/Thumbnail (Tile).html").find("insertTable(2);"), std::string::npos);
  EXPECT_FALSE(harness.run->isCancelling()) << "finish clears the flags";
}

TEST(GalleryRun, ASecondStartDuringARunIsIgnored) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  writeFile(folder / u"b.bmp", bmpBytes(20, 10));
  Harness harness;
  // The worker waits for this thread to handle its start event, so the run is busy.
  ASSERT_EQ(harness.run->start({folder / u"a.bmp"}), GalleryRun::StartResult::kStarted);
  EXPECT_EQ(harness.run->start({folder / u"b.bmp"}), GalleryRun::StartResult::kBusy);
  while (!harness.ended) harness.events.waitAndPump(20);
  harness.run->finish();
  harness.run->waitIdle();
  EXPECT_EQ(names(folder / u"thumbnail/img"), (std::vector<std::u16string>{u"a.bmp"}));
  // Once finished, the next start is accepted.
  EXPECT_EQ(harness.make({folder / u"b.bmp"}), GalleryRun::StartResult::kStarted);
}

TEST(GalleryRun, RefusedOutputFolderStartsNothingAndLeavesNothingBehind) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  Harness harness;
  const std::u16string missing = folder / u"no/such/folder/a.bmp";
  EXPECT_EQ(harness.make({missing}), GalleryRun::StartResult::kFolderRefused);
  ASSERT_EQ(harness.messages.size(), 1u);
  EXPECT_EQ(harness.messages[0], u"The output folder is inaccessible or write-protected.\r\n\"" +
                                     (folder / u"no/such/folder") + u"\"");
  EXPECT_TRUE(harness.seen.empty());
  // The refused paths are not carried into the next run.
  harness.make({folder / u"a.bmp"});
  EXPECT_EQ(names(folder / u"thumbnail/img"), (std::vector<std::u16string>{u"a.bmp"}));
  EXPECT_EQ(harness.run->start({}), GalleryRun::StartResult::kEmptyList);
}

TEST(GalleryRun, FlatStyleListsSizesAndReportsEveryEntry) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(64, 48));
  writeFile(folder / u"b.txt", {'x'});
  Harness harness;
  harness.style = Setting::kStyleFlat;
  harness.title = u"Thumbnail (Flat)";
  harness.make({folder / u"a.bmp", folder / u"b.txt"});
  EXPECT_EQ(names(folder / u"thumbnail"), (std::vector<std::u16string>{u"Thumbnail (Flat).html", u"img"}));
  const std::string page = readText(folder / u"thumbnail/Thumbnail (Flat).html");
  EXPECT_NE(page.find("window.thumb.addImage('simg/', 0, 0, 'a', 'img/a.bmp', 64, 48, '10KB', 'bmp');"),
            std::string::npos);
  ASSERT_EQ(harness.seen.size(), 4u) << "an update for every entry, skipped ones included";
  EXPECT_EQ(harness.seen[2].text, u"b.txt");
}

// Runs make() on a.bmp and b.bmp (40 x 30) in folder; breaks is called on the receiving
// thread when the first file is reported, after the run made its folders.
void makeBroken(const TempFolder& folder, Harness& harness, const std::function<void()>& breaks) {
  writeFile(folder / u"a.bmp", bmpBytes(40, 30));
  writeFile(folder / u"b.bmp", bmpBytes(40, 30));
  harness.onEvent = [&](const JobEvent& event) {
    if (event.is(s::thread::kProcessStatusUpdate) && event.second == 0) breaks();
  };
  harness.make({folder / u"a.bmp", folder / u"b.bmp"});
}

TEST(GalleryRun, SmallCopiesThatCannotBeWrittenAreFailuresWithoutRows) {
  TempFolder folder;
  Harness harness;
  // A file takes the place of simg, so no small copy can be written into it.
  makeBroken(folder, harness, [&] {
    ASSERT_TRUE(s::file::testing::pathOf(folder / u"thumbnail/simg")->remove());
    writeFile(folder / u"thumbnail/simg", {'x'});
  });
  ASSERT_EQ(harness.seen.back().name, s::thread::kProcessStatusEnd);
  EXPECT_EQ(harness.seen.back().first, s::thread::kEndFailed);
  EXPECT_EQ(harness.seen.back().text, u"Could not write the small copy \"" + (folder / u"thumbnail/simg/a (40x30).bmp") +
                                          u"\"\r\nCould not write the small copy \"" +
                                          (folder / u"thumbnail/simg/b (40x30).bmp") + u"\"");
  EXPECT_NE(readText(folder / u"thumbnail/Thumbnail (Tile).html").find("insertTable(0);"), std::string::npos);
  EXPECT_EQ(names(folder / u"thumbnail/img"), (std::vector<std::u16string>{u"a.bmp", u"b.bmp"}));
}

TEST(GalleryRun, APageThatCannotBeWrittenIsAFailureAndLeavesNoTemporaryFile) {
  TempFolder folder;
  Harness harness;
  makeBroken(folder, harness, [&] {
    ASSERT_TRUE(s::file::testing::pathOf(folder / u"thumbnail/Thumbnail (Tile).html")->createDirectory());
  });
  EXPECT_EQ(harness.seen.back().first, s::thread::kEndFailed);
  EXPECT_EQ(harness.seen.back().text,
            u"Could not write the page \"" + (folder / u"thumbnail/Thumbnail (Tile).html") + u"\"");
  EXPECT_EQ(names(folder / u"thumbnail"), (std::vector<std::u16string>{u"Thumbnail (Tile).html", u"img", u"simg"}));
  EXPECT_EQ(names(folder / u"thumbnail/simg").size(), 2u);
}

TEST(GalleryRun, DamagedPicturesAreSkippedAndTheRunCompletes) {
  TempFolder folder;
  writeFile(folder / u"good.bmp", bmpBytes(40, 30));
  // A JPEG start-of-image marker, then no valid segment.
  std::vector<uint8_t> jpeg(300, 0x5A);
  jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[2] = 0xFF, jpeg[3] = 0x01;
  writeFile(folder / u"broken.jpg", jpeg);
  // A BMP cut off in its pixels.
  std::vector<uint8_t> cut = bmpBytes(400, 300);
  cut.resize(cut.size() / 3);
  writeFile(folder / u"cut.bmp", cut);
  Harness harness;
  harness.make({folder / u"broken.jpg", folder / u"good.bmp", folder / u"cut.bmp"});
  EXPECT_EQ(harness.seen.back().first, 0u) << "complete";
  EXPECT_TRUE(exists(folder / u"thumbnail/simg/good (40x30).bmp"));
  EXPECT_EQ(names(folder / u"thumbnail/img"), (std::vector<std::u16string>{u"broken.jpg", u"cut.bmp", u"good.bmp"}));
}

TEST(GalleryRun, ReleasingMidRunFromTheReceivingThreadHandlesTheEventsItWaitsFor) {
  TempFolder folder;
  std::vector<std::u16string> files;
  for (const char16_t* name : {u"a.bmp", u"b.bmp", u"c.bmp"}) {
    files.push_back(folder / name);
    writeFile(files.back(), bmpBytes(40, 30));
  }
  Harness harness;
  ASSERT_EQ(harness.run->start(files), GalleryRun::StartResult::kStarted);
  {
    // The worker has queued its start event and waits for this thread to handle it.
    std::unique_lock<std::mutex> lock(harness.queuedLock);
    harness.queued.wait(lock, [&] { return harness.queuedCount > 0; });
  }
  ASSERT_TRUE(harness.seen.empty());
  harness.run.reset();  // would wait forever for a worker that waits for this thread
  // Released as cancelled: no small copy, but every file copied and the page written.
  EXPECT_EQ(harness.eventNames(),
            (std::vector<std::u16string>{s::thread::kProcessStatusStart, s::thread::kProcessStatusEnd}));
  EXPECT_EQ(names(folder / u"thumbnail/img").size(), 3u);
  EXPECT_NE(readText(folder / u"thumbnail/Thumbnail (Tile).html").find("insertTable(0);"), std::string::npos);
}

TEST(GalleryRun, ReleasingAfterTheReceiverClosedTheRelayFinishesTheRunSilently) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(40, 30));
  Harness harness;
  harness.events.close();
  ASSERT_EQ(harness.run->start({folder / u"a.bmp"}), GalleryRun::StartResult::kStarted);
  harness.run.reset();
  EXPECT_TRUE(harness.seen.empty());
  EXPECT_TRUE(exists(folder / u"thumbnail/Thumbnail (Tile).html"));
}

TEST(GalleryRun, KeepsEveryRasterInPlainMemory) {
  // Only drawing makes a platform bitmap: a run of photographs and an animation of
  // hundreds of frames holds no system object for its pictures.
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(400, 300));
  Owned<s::image::jpg::EncodeSetting> jpeg = s::thread::make<s::image::jpg::EncodeSetting>();
  ASSERT_TRUE(gradient(640, 480, 1)->saveJpeg(folder / u"b.jpg", *jpeg));
  Owned<s::image::png::EncodeSetting> png = s::thread::make<s::image::png::EncodeSetting>();
  ASSERT_TRUE(gradient(300, 200, 2)->savePng(folder / u"c.png", *png));
  Owned<BufferedImageSet> frames(BufferedImageSet::create());
  for (int i = 0; i < 300; ++i) frames->add(gradient(24, 16, i).detach(), 8, 5, 1);
  frames->setAnimation(true, 0);
  Owned<s::image::gif::EncodeSetting> gif = s::thread::make<s::image::gif::EncodeSetting>();
  Owned<s::image::IEncodedImage> animation(gif->encodeImageSet(frames.get()));
  ASSERT_TRUE(animation);
  {
    auto out = s::thread::Owned<s::file::win::FileOutputStream>(
        s::file::testing::pathOf(folder / u"d.gif")->openOutput(false));
    ASSERT_TRUE(animation->write(*out) && out->close());
  }
  const int64_t madeBefore = RasterMemory::sectionsMade();
  Harness harness;
  harness.make({folder / u"a.bmp", folder / u"b.jpg", folder / u"c.png", folder / u"d.gif"});
  EXPECT_EQ(names(folder / u"thumbnail/simg"),
            (std::vector<std::u16string>{u"a (150x112).bmp", u"b (150x112).jpg", u"c (150x100).png",
                                         u"d (24x16).gif"}));
  EXPECT_EQ(RasterMemory::sectionsMade(), madeBefore);
}

TEST(GalleryRun, EmptyPictureMakesNoSmallCopy) {
  TempFolder folder;
  // A BMP header that claims 0 x 0 pixels: recognised, decodes to nothing.
  std::vector<uint8_t> bytes = bmpBytes(8, 8);
  std::memset(&bytes[18], 0, 8);
  writeFile(folder / u"empty.bmp", bytes);
  Harness harness;
  harness.make({folder / u"empty.bmp"});
  EXPECT_TRUE(names(folder / u"thumbnail/simg").empty());
  EXPECT_TRUE(exists(folder / u"thumbnail/img/empty.bmp"));
}

}  // namespace
