// The gallery without a window: the core called on this thread, as the command line
// calls it. The run's own tests (GalleryRunTest) cover the same passes through the
// window's events.
#include "s/image/gui/dialogs/pictorva/GalleryCore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "file/TempFolder.h"
#include "image/gui/dialogs/pictorva/GalleryHarness.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/lang/StatusTexts.h"

namespace {

using namespace gallery_testing;
using s::file::testing::TempFolder;
using s::image::gui::dialogs::pictorva::GalleryCore;
using s::image::gui::dialogs::pictorva::GalleryOutcome;
using Step = RecordedProgress::Step;

Owned<Setting> tileSetting(std::u16string_view title = u"T") {
  Owned<Setting> setting(Setting::create());
  setting->title->assign(title);
  return setting;
}

TEST(GalleryCore, ReportsEachStepAndEndsWithTheRowsAndThePage) {
  TempFolder folder;
  writeFile(folder / u"wide.bmp", bmpBytes(300, 100));
  writeFile(folder / u"notes.txt", {'n', 'o'});
  writeFile(folder / u"small.bmp", bmpBytes(60, 40));
  for (int jobs : {1, 2}) {
    SCOPED_TRACE(jobs);
    RecordedProgress progress;
    GalleryCore core(0);
    core.setJobs(jobs);
    const GalleryOutcome outcome =
        core.make(*tileSetting(), {folder / u"wide.bmp", folder / u"notes.txt", folder / u"small.bmp"}, progress);
    EXPECT_EQ(progress.starts, 1);
    EXPECT_EQ(progress.ends, 1);
    // Tile reports the pictures that open; the step numbers are the files' places.
    EXPECT_EQ(progress.steps, (std::vector<Step>{{3, 0, u"wide.bmp"}, {3, 2, u"small.bmp"}}));
    const std::u16string gallery = jobs == 1 ? folder / u"thumbnail" : folder / u"thumbnail (1)";
    EXPECT_EQ(outcome.folder, gallery);
    EXPECT_EQ(outcome.pagePath, gallery + TempFolder::separator() + u"T.html");
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(outcome.cancelled);
    ASSERT_EQ(outcome.rows.size(), 2u);
    EXPECT_EQ(outcome.rows[0].smallName, u"wide (150x50).bmp");
    EXPECT_EQ(outcome.rows[1].sourceWidth, 60u);
    EXPECT_EQ(progress.endedWith.rows.size(), 2u) << "the end report carries the outcome";
    EXPECT_EQ(names(gallery + TempFolder::separator() + u"img").size(), 3u);
  }
}

TEST(GalleryCore, TheCancelFlagStopsAtTheNextFileAndTheGalleryIsStillWritten) {
  TempFolder folder;
  std::vector<std::u16string> files;
  for (int i = 0; i < 5; ++i) {
    files.push_back(folder / (u"p" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".bmp"));
    writeFile(files.back(), bmpBytes(40, 30));
  }
  for (int jobs : {1, 4}) {
    SCOPED_TRACE(jobs);
    std::atomic<uint8_t> cancel{0};
    RecordedProgress progress;
    progress.onStep = [&](const Step& step) {
      if (step.index == 1) cancel = 1;
    };
    GalleryCore core(0);
    core.setJobs(jobs);
    const GalleryOutcome outcome = core.make(*tileSetting(), files, progress, &cancel);
    EXPECT_EQ(progress.steps.size(), 2u);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.rows.size(), 2u) << "the file being made is finished";
    EXPECT_EQ(names(outcome.folder + TempFolder::separator() + u"img").size(), 5u) << "every file is copied";
    EXPECT_NE(readText(outcome.pagePath).find("insertTable(2);"), std::string::npos);
  }
}

TEST(GalleryCore, TheChoicesAreTakenWhenTheGalleryBegins) {
  TempFolder folder;
  writeFile(folder / u"a.bmp", bmpBytes(400, 200));
  Owned<Setting> setting = tileSetting(u"First");
  setting->cellWidth = 100;
  RecordedProgress progress;
  // A caller changing its setting once the gallery has begun changes nothing of it.
  progress.onStep = [&](const Step&) {
    setting->title->assign(u"Second");
    setting->cellWidth = 20;
  };
  GalleryCore core(0);
  const GalleryOutcome outcome = core.make(*setting, {folder / u"a.bmp"}, progress);
  EXPECT_EQ(outcome.pagePath, folder / u"thumbnail/First.html");
  ASSERT_EQ(outcome.rows.size(), 1u);
  EXPECT_EQ(outcome.rows[0].smallWidth, 100u);
}

TEST(GalleryCore, AGalleryFolderThatCannotBeMadeIsAFailure) {
  TempFolder folder;
  writeFile(folder / u"thumbnail", {'x'});  // a file where the folder would go...
  for (int i = 1; i <= 3; ++i) {
    writeFile(folder / (u"thumbnail (" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u")"), {'x'});
  }
  writeFile(folder / u"a.bmp", bmpBytes(20, 10));
  RecordedProgress progress;
  GalleryCore core(0);
  const GalleryOutcome outcome = core.make(*tileSetting(), {folder / u"a.bmp"}, progress);
  // ...is taken: the next free name is used.
  EXPECT_EQ(outcome.folder, folder / u"thumbnail (4)");
  EXPECT_TRUE(outcome.failures.empty());

  // Beside a "file" inside a file, no folder can be made.
  const GalleryOutcome none = core.make(*tileSetting(), {folder / u"a.bmp/inside.bmp"}, progress);
  EXPECT_TRUE(none.folder.empty());
  ASSERT_EQ(none.failures.size(), 1u);
  EXPECT_EQ(none.failures[0].what, s::lang::StatusTexts::kCouldNotCreateFolder);
  EXPECT_EQ(none.failureText({}).find(u"Could not create the gallery folder \""), 0u) << "English without a pack";
  EXPECT_EQ(progress.ends, 2) << "a gallery that could not begin still ends";
}

TEST(GalleryCore, TheRefusedOutputFolderMessage) {
  EXPECT_EQ(GalleryCore::outputFolderMessage(u"", u"/x/y"),
            u"The output folder is inaccessible or write-protected.\r\n\"/x/y\"");
  EXPECT_EQ(GalleryCore::outputFolderMessage(u"Nope.", u""), u"Nope.");
}

TEST(GalleryCore, ADroppedFolderGivesThePicturesInsideItInNaturalOrder) {
  TempFolder folder;
  writeFile(folder / u"loose.bmp", bmpBytes(30, 20));
  writeFile(folder / u"Trip/IMG_10.bmp", bmpBytes(30, 20, 1));
  writeFile(folder / u"Trip/img_2.bmp", bmpBytes(30, 20, 2));
  writeFile(folder / u"Trip/IMG_1.bmp", bmpBytes(30, 20, 3));
  writeFile(folder / u"Trip/notes.txt", {'n', 'o'});
  writeFile(folder / u"Trip/._IMG_1.bmp", bmpBytes(30, 20, 4));  // what a Mac leaves: hidden
  writeFile(folder / u"Trip/.hidden.bmp", bmpBytes(30, 20, 5));
  writeFile(folder / u"Trip/sub/deeper.bmp", bmpBytes(30, 20, 6));
  s::file::testing::pathOf(folder / u"Empty")->createDirectory();
  writeFile(folder / u"Empty/readme.txt", {'r'});
  RecordedProgress progress;
  GalleryCore core(0);
  // The folder first: its pictures still come after the file dropped beside it.
  const GalleryOutcome outcome =
      core.make(*tileSetting(), {folder / u"Trip", folder / u"loose.bmp", folder / u"Empty"}, progress);
  std::vector<std::u16string> made;
  for (const Step& step : progress.steps) made.push_back(step.fileName);
  EXPECT_EQ(made, (std::vector<std::u16string>{u"loose.bmp", u"IMG_1.bmp", u"img_2.bmp", u"IMG_10.bmp"}));
  EXPECT_EQ(outcome.folder, folder / u"thumbnail") << "beside the first thing dropped";
  EXPECT_EQ(names(outcome.folder + TempFolder::separator() + u"img"),
            (std::vector<std::u16string>{u"IMG_1.bmp", u"IMG_10.bmp", u"img_2.bmp", u"loose.bmp"}));
  ASSERT_EQ(outcome.unreadable.size(), 1u);
  EXPECT_EQ(outcome.unreadable[0].name, folder / u"Empty");
  EXPECT_EQ(outcome.unreadable[0].reason, s::image::gui::dialogs::pictorva::UnreadablePicture::Reason::kNoPicturesInFolder);
  EXPECT_EQ(outcome.unreadCount(), 0u) << "a folder without pictures is named, not counted";
}

}  // namespace
