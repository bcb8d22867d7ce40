// The icon and cursor files of the shared conformance collections: each decodes to
// what its collection says, or fails cleanly (run under the sanitizers too), and
// well-formed ones decode to ImageMagick's pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/MagickReference.h"
#include "image/ico/win/IconFixtures.h"
#ifndef _WIN32
#include "image/ico/win/IconMagickCompare.h"
#endif

namespace {

using namespace icon_fixtures;

const std::string kTestData = PICTORVA_TESTDATA;

struct Expected {
  const char* file;
  int images;       // images kept
  int firstWidth;   // the first image's size (nearest to 32 x 32)
  int firstDepth;
  bool compare;     // ImageMagick decodes every entry the same way
};

// Every file ImageMagick can read is compared entry by entry, except two where its
// icon reader differs: a 124-byte header (its BMP reader agrees with ours), and an
// entry cut short, whose missing mask ImageMagick takes as transparent where ours
// is zero (opaque).
const Expected kFiles[] = {
    {"image-rs/images/ico/images/bmp-24bpp-mask.ico", 1, 32, 24, true},
    {"image-rs/images/ico/images/bmp-32bpp-alpha.ico", 1, 32, 32, true},
    {"image-rs/images/ico/images/bmp-32bpp-conflicting-and-mask.ico", 1, 16, 32, true},
    {"image-rs/images/ico/images/bmp_v5_with_icc.ico", 1, 127, 24, false},
    {"image-rs/images/ico/images/lenient-bpp.ico", 1, 256, 32, true},
    {"image-rs/images/ico/images/multiple_entries_with_different_bit_depth.ico", 9, 32, 32, true},
    {"image-rs/images/ico/images/png-32bpp-alpha.ico", 1, 32, 32, true},
    {"image-rs/images/ico/images/png_l8.ico", 1, 32, 32, true},
    {"image-rs/images/ico/images/png_rgb8.ico", 1, 32, 32, true},
    {"image-rs/images/ico/images/smile.ico", 2, 32, 4, true},
    {"image-rs/images/ico/images/truncated_mask_32bpp.ico", 1, 64, 32, true},
    {"image-rs/images/ico/images/two-entry-order-test.ico", 2, 48, 8, true},
    {"image-rs/bad/ico/Bad_smile-incorrect-image-length.ico", 1, 32, 4, false},
    {"image-rs/regression/ico/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico", 0, 0, 0, true},
    {"image-rs/regression/ico/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico", 0, 0, 0, true},
    {"image-rs/regression/ico/oom-ff076e7064c13ec1f8e2c5bbbfb7a77a08db2361.ico", 0, 0, 0, true},
    {"pillow/ico/black_and_white.ico", 1, 16, 1, true},
    {"pillow/ico/decompression_bomb.ico", 0, 0, 0, true},
    {"pillow/ico/hopper.ico", 1, 16, 8, true},
    {"pillow/ico/hopper_256x256.ico", 1, 256, 24, true},
    {"pillow/ico/hopper_draw.ico", 1, 16, 32, true},
    {"pillow/ico/hopper_mask.ico", 1, 16, 1, true},
    {"pillow/ico/hopper_unexpected.ico", 1, 16, 8, true},
    {"pillow/ico/pillow.ico", 5, 32, 32, true},
    {"pillow/ico/python.ico", 3, 32, 32, true},
    {"pillow/ico/deerstalker.cur", 1, 32, 32, true},
    {"pillow/ico/mask_1.cur", 0, 0, 0, true},
    {"pillow/ico/mask_L.cur", 0, 0, 0, true},
    {"pillow/ico/no_cursors.cur", 0, 0, 0, true},
};

TEST(IconFiles, ConformanceCollections) {
  if (testing_streams::readFile(kTestData + "/pillow/ico/hopper.ico").empty()) {
    if (std::getenv("CI")) FAIL() << "the shared test data is missing: " << kTestData;
    GTEST_SKIP() << "the shared test data is missing";
  }
  for (const Expected& expected : kFiles) {
    SCOPED_TRACE(expected.file);
    const std::string path = kTestData + "/" + expected.file;
    const std::vector<uint8_t> bytes = testing_streams::readFile(path);
    ASSERT_FALSE(bytes.empty());
    Owned<Icon> icon = readIcon(bytes);
    EXPECT_EQ(icon->getImageCount(), expected.images);
    for (int i = 0; i < icon->getImageCount(); ++i) {
      // Every pixel is read, so the sanitizers see any bad memory.
      Owned<BufferedImage> image(icon->toBufferedImage(i, nullptr));
      uint32_t sum = 0;
      for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x) sum += at(image.get(), x, y);
      (void)sum;
      EXPECT_GT(image->getWidth(), 0);
    }
    if (icon->getImageCount() == 0) continue;
    EXPECT_EQ(icon->getWidth(), expected.firstWidth);
    EXPECT_EQ(icon->getIconImage(0)->getBitCount(), expected.firstDepth);
#ifndef _WIN32
    if (expected.compare && magick_reference::available()) icon_magick::compareEntries(path);
#endif
  }
}

}  // namespace
