// The album's copies of a picture: their sizes, formats and names, made from one
// decoded picture; and an album run over a folder of them.
#include "s/image/gui/dialogs/pictorva/AlbumJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "file/TempFolder.h"
#include "image/gui/dialogs/pictorva/GalleryHarness.h"
#include "s/image/gui/dialogs/pictorva/PictureCopies.h"
#include "s/image/png/EncodeSetting.h"
#include "s/image/win/BufferedImage.h"

namespace {

using namespace gallery_testing;
using s::image::gui::dialogs::pictorva::PictureCopies;
using s::file::testing::TempFolder;
using s::image::gui::dialogs::pictorva::AlbumCopy;
using s::image::gui::dialogs::pictorva::AlbumJob;

bool isJpeg(const AlbumCopy& copy) { return copy.isMade() && copy.bytes->getCount() > 2 && copy.bytes->data()[0] == 0xFF && copy.bytes->data()[1] == 0xD8; }
bool isPng(const AlbumCopy& copy) { return copy.isMade() && copy.bytes->getCount() > 8 && copy.bytes->data()[1] == 'P' && copy.bytes->data()[2] == 'N'; }
bool isGif(const AlbumCopy& copy) { return copy.isMade() && copy.bytes->getCount() > 6 && std::memcmp(copy.bytes->data(), "GIF89a", 6) == 0; }

std::string sizeOf(const AlbumCopy& copy) {
  return copy.isMade() ? std::to_string(copy.width) + "x" + std::to_string(copy.height) : "none";
}

TEST(AlbumJob, FittedSizesKeepTheProportionsAndNeverGrow) {
  const uint32_t sides[] = {1, 2, 3, 7, 199, 200, 201, 399, 400, 401, 1000, 2047, 2048, 2049, 5000, 65535};
  for (uint32_t width : sides) {
    for (uint32_t height : sides) {
      for (uint32_t box : {1u, 200u, 400u, 2048u}) {
        uint32_t w = 0, h = 0;
        PictureCopies::fitInto(width, height, box * 16, box, &w, &h);
        ASSERT_GE(w, 1u);
        ASSERT_GE(h, 1u);
        EXPECT_LE(w, std::max(width, 1u));
        EXPECT_LE(h, height);
        EXPECT_LE(h, box);
        EXPECT_LE(w, box * 16);
        // One side takes its limit or its own size; the other is within a pixel
        // of the proportional size (or 1).
        EXPECT_TRUE(h == box || w == box * 16 || (w == width && h == height)) << width << "x" << height << " " << box;
        const double exact = h == box && w != box * 16 ? static_cast<double>(width) * h / height
                                                       : static_cast<double>(w);
        EXPECT_LE(std::fabs(exact - w), std::max(0.5, exact < 1 ? 1.0 : 0.5) + 1e-9) << width << "x" << height;
      }
    }
  }
}

struct SizeCase {
  int width, height;
  const char* display;
  const char* large;
  const char* small;
};

TEST(AlbumJob, SizesComeFromOneDecodedPictureEachFromTheOneAbove) {
  const SizeCase cases[] = {
      {800, 600, "none", "533x400", "267x200"},
      {600, 300, "none", "600x300", "400x200"},  // the 2x copy at the picture's own size
      {300, 150, "none", "none", "300x150"},      // one copy: it would come out the same twice
      {3000, 1500, "2048x1024", "800x400", "400x200"},
      {100, 2600, "79x2048", "15x400", "8x200"},
      {2048, 2048, "none", "400x400", "200x200"},
      {2049, 10, "2048x10", "none", "none"},
      {9000, 100, "2048x23", "none", "none"},  // both small copies are the display copy
      {12, 8, "none", "none", "12x8"},
  };
  TempFolder folder;
  for (const SizeCase& size : cases) {
    const std::u16string path = folder / u"picture.bmp";
    s::file::testing::pathOf(path)->remove(false);
    writeFile(path, bmpBytes(size.width, size.height));
    AlbumJob job;
    ASSERT_TRUE(job.accept(path));
    ASSERT_TRUE(job.open());
    job.make(200);
    const std::string what = std::to_string(size.width) + "x" + std::to_string(size.height);
    ASSERT_EQ(job.outcome(), AlbumJob::Outcome::kMade) << what;
    EXPECT_EQ(sizeOf(job.display()), size.display) << what;
    EXPECT_EQ(sizeOf(job.large()), size.large) << what;
    EXPECT_EQ(sizeOf(job.small()), size.small) << what;
    for (AlbumCopy* copy : {&job.display(), &job.large(), &job.small()}) {
      if (copy->isMade()) {
        EXPECT_TRUE(isJpeg(*copy)) << what << " " << sizeOf(*copy);
      }
    }
    if (job.small().isMade()) {
      EXPECT_EQ(job.small().name, u"picture (" + std::u16string(size.small, size.small + std::strlen(size.small)) + u").jpg");
    } else {
      EXPECT_TRUE(job.smallIsDisplay()) << what;
    }
    EXPECT_EQ(job.sourceWidth(), static_cast<uint32_t>(size.width));
    EXPECT_TRUE(job.taken().empty());
  }
}

TEST(AlbumJob, TransparentPicturesGetPngAndAnimationsStayAnimations) {
  TempFolder folder;
  Owned<BufferedImage> image(BufferedImage::create());
  ASSERT_TRUE(image->create(500, 250));
  BufferedImage::fill(image.get(), 255, 10, 120, 200);
  image->getLine(100)[3] = 0;  // one pixel not opaque is enough
  image->setAlpha(true);
  Owned<s::image::png::EncodeSetting> setting = s::thread::make<s::image::png::EncodeSetting>();
  ASSERT_TRUE(image->savePng(folder / u"clear.png", *setting));
  AlbumJob still;
  ASSERT_TRUE(still.accept(folder / u"clear.png") && still.open());
  still.make(100);
  EXPECT_TRUE(isPng(still.large()) && isPng(still.small()));
  EXPECT_EQ(still.small().name, u"clear (200x100).png");

  AlbumJob animated;
  const std::string samples = std::string(PICTORVA_SOURCE_DIR) + "/samples/dots.gif";
  ASSERT_TRUE(animated.accept(std::u16string(samples.begin(), samples.end())));
  ASSERT_TRUE(animated.open());
  animated.make(60);
  EXPECT_FALSE(animated.display().isMade()) << "an animation is shown as it is";
  EXPECT_TRUE(isGif(animated.small()));
  EXPECT_EQ(animated.small().name, u"dots (60x60).gif");
  EXPECT_EQ(animated.large().name, u"dots (120x120).gif");
}

TEST(AlbumJob, BrowsersShowTheWebsFormats) {
  for (const char16_t* shown : {u".jpg", u".PNG", u".gif", u".bmp", u".ico", u".webp", u".avif"}) {
    EXPECT_TRUE(AlbumJob::browsersShow(shown)) << std::string(shown, shown + 4);
  }
  for (const char16_t* hidden : {u".tif", u".tiff", u".heic", u".heif", u""}) EXPECT_FALSE(AlbumJob::browsersShow(hidden));
}

TEST(GalleryRun, AlbumWritesEveryCopyAndAPageOfThePictures) {
  TempFolder folder;
  writeFile(folder / u"wide.bmp", bmpBytes(1000, 500));
  writeFile(folder / u"tiny #1.bmp", bmpBytes(90, 60));
  writeFile(folder / u"huge.bmp", bmpBytes(2500, 100));
  writeFile(folder / u"notes.txt", {'x'});
  Harness harness;
  harness.style = Setting::kStyleAlbum;
  harness.title = u"Trip <1>";
  harness.rowHeight = 100;
  ASSERT_EQ(harness.make({folder / u"wide.bmp", folder / u"tiny #1.bmp", folder / u"huge.bmp", folder / u"notes.txt"}),
            GalleryRun::StartResult::kStarted);
  EXPECT_EQ(names(folder / u"thumbnail/img"),
            (std::vector<std::u16string>{u"huge.bmp", u"notes.txt", u"tiny #1.bmp", u"wide.bmp"}));
  EXPECT_EQ(names(folder / u"thumbnail/simg"),
            (std::vector<std::u16string>{u"huge (1600x64).jpg", u"huge (2048x82).jpg", u"tiny #1 (90x60).jpg",
                                         u"wide (200x100).jpg", u"wide (400x200).jpg"}));
  EXPECT_EQ(harness.run->pagePath(), folder / u"thumbnail/Trip _1_.html");
  const std::string page = readText(folder / u"thumbnail/Trip _1_.html");
  EXPECT_NE(page.find("<title>Trip &lt;1&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"img/tiny%20%231.bmp\" data-m=\"90 60 16374\" style=\"--r:1.5\">"
                      "<img src=\"simg/tiny%20%231%20(90x60).jpg\" width=\"90\" height=\"60\" alt=\"tiny #1\""),
            std::string::npos);
  EXPECT_NE(page.find("<a href=\"simg/huge%20(2048x82).jpg\""), std::string::npos) << "its display copy";
  EXPECT_NE(page.find("--h:100px"), std::string::npos);
  // One announcement per picture, none for the text file.
  EXPECT_EQ(harness.eventNames().size(), 5u);
  EXPECT_EQ(harness.seen.back().first, 0u) << "complete";
}

}  // namespace
