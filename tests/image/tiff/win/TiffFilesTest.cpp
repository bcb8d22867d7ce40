// The TIFF collections of the shared test data: every picture decodes (floating-
// point and wider samples are refused, as are the files libtiff itself cannot
// decode), matches the reference decodes the folders carry, the files of one
// upstream checksum decode alike, pages are counted, and the Orientation tag turns
// the picture upright. Run under the sanitizers too.
//
// Tolerances: the references of uncompressed and losslessly compressed pictures
// must match exactly. Pillow's 8-bit targets of 16-bit files cut each sample to
// its high byte where we round, and its alpha files keep their colour
// premultiplied: those are compared premultiplied, within 2. Lossy (JPEG) strips
// against tiles of the same picture differ by their own coding.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "image/PictureCompare.h"
#include "s/image/tiff/win/Tiff.h"

namespace {

namespace fs = std::filesystem;
using picture_compare::compare;
using picture_compare::Picture;
using picture_compare::testdata;
using s::image::tiff::win::Tiff;
using s::thread::Owned;

Picture decodedPicture(const std::string& name, bool* ok = nullptr) {
  Owned<Tiff> tiff = picture_compare::readWith<Tiff>(testdata(name), ok);
  return picture_compare::fromCodec(*tiff);
}

// A reference: PNG through our PNG codec, PNM, or another TIFF.
Picture referencePicture(const std::string& name) {
  const std::string extension = fs::path(name).extension().string();
  if (extension == ".png") return picture_compare::decodePng(testdata(name));
  if (extension == ".tif" || extension == ".tiff") return decodedPicture(name);
  return picture_compare::decodePnm(testdata(name));
}

bool isTiffFile(const fs::path& path) {
  const std::string extension = path.extension().string();
  const std::string name = path.filename().string();
  // Fuzzed files keep their tool's names, without extension.
  return extension == ".tif" || extension == ".tiff" || extension == ".bin" || name.rfind("id=", 0) == 0 ||
         name.rfind("timeout-", 0) == 0;
}

TEST(TiffFiles, EveryPictureDecodesOrIsRefusedAsListed) {
  if (!picture_compare::haveTestdata("tiff")) GTEST_SKIP() << "no TIFF collection";
  // Valid files no path reads: floating-point samples (16, 32, 64 bits) and
  // integers wider than 16 bits; and files whose data libtiff itself cannot
  // decode.
  const std::map<std::string, const char*> kRefused = {
      {"image-rs/images/tiff/testsuite/rgb32f_color.tiff", "32-bit float"},
      {"image-tiff/images/gradient-1c-32b-float.tiff", "32-bit float"},
      {"image-tiff/images/gradient-1c-64b-float.tiff", "64-bit float"},
      {"image-tiff/images/gradient-3c-64b.tiff", "64-bit integers"},
      {"image-tiff/images/predictor-3-rgb-f32.tif", "32-bit float"},
      {"image-tiff/images/random-fp16-pred3.tiff", "16-bit float"},
      {"image-tiff/images/random-fp16.tiff", "16-bit float"},
      {"image-tiff/images/seq/seq-1c-24b-072a9dc9.tiff", "24-bit integers"},
      {"image-tiff/images/seq/seq-1c-32f-deflate-fpredict-390fe673.tiff", "32-bit float"},
      {"image-tiff/images/seq/seq-1c-64f-deflate-fpredict-afa8560e.tiff", "64-bit float"},
      {"image-tiff/images/seq/seq-3c-24b-planar-6296c0c9.tiff", "24-bit integers"},
      {"image-tiff/images/seq/seq-3c-32f-9a471c2b.tiff", "32-bit float"},
      {"image-tiff/libtiffpic/caspian.tif", "64-bit float"},
      {"image-tiff/libtiffpic/depth/flower-minisblack-24.tif", "24-bit integers"},
      {"image-tiff/libtiffpic/depth/flower-rgb-contig-24.tif", "24-bit integers"},
      {"pillow/10ct_32bit_128.tiff", "32-bit float"},
      {"image-tiff/libtiffpic/text.tif", "libtiff: ThunderScan data ends at row 320"},
      {"pillow/tiff_overflow_rows_per_strip.tif", "libtiff: the strip is shorter than its rows"},
  };
  int decoded = 0;
  int refused = 0;
  for (const auto& entry : fs::recursive_directory_iterator(testdata("tiff"))) {
    if (!entry.is_regular_file() || !isTiffFile(entry.path())) continue;
    const std::string name = fs::relative(entry.path(), testdata("tiff")).generic_string();
    SCOPED_TRACE(name);
    bool ok = false;
    Owned<Tiff> tiff = picture_compare::readWith<Tiff>(entry.path().string(), &ok);
    // Either a whole picture or nothing.
    EXPECT_EQ(ok, tiff->getWidth() > 0);
    EXPECT_EQ(ok, tiff->getImageCount() > 0);
    const bool malformed = name.rfind("image-tiff/fuzz_images/", 0) == 0 || name.rfind("pillow/crash-", 0) == 0 ||
                           name.rfind("pillow/oom-", 0) == 0 || name.find("_trunc_") != std::string::npos ||
                           name.find("broken") != std::string::npos || name.find("clusterfuzz") != std::string::npos ||
                           name.find("wrong_bits") != std::string::npos || name.find("timeout-") != std::string::npos ||
                           name.find("segfault") != std::string::npos || name.find("seek_too_large") != std::string::npos ||
                           name.find("frame_loop") != std::string::npos || name.find("invalid-palette") != std::string::npos;
    if (kRefused.count(name)) {
      EXPECT_FALSE(ok) << kRefused.at(name);
    } else if (!malformed) {
      EXPECT_TRUE(ok);
    }
    ok ? ++decoded : ++refused;
  }
  EXPECT_EQ(decoded + refused, 170);
}

enum class Match {
  kExact,
  kPremultiplied,  // compared premultiplied, within 2 (see the head of the file)
  kAsStored,       // the reference holds the associated alpha's colour as stored
  kSimilar,        // the same picture coded otherwise (JPEG strips and tiles; a
                   // quantised palette): a mean difference of a few levels
};

TEST(TiffFiles, PicturesMatchTheReferences) {
  if (!picture_compare::haveTestdata("tiff")) GTEST_SKIP() << "no TIFF collection";
  const struct {
    const char* file;
    const char* reference;
    Match match;
  } kReferences[] = {
      // One bilevel picture uncompressed, PackBits, CCITT G3 and G4.
      {"golang-image/bw-uncompressed.tiff", "golang-image/bw-gopher.png", Match::kExact},
      {"golang-image/bw-packbits.tiff", "golang-image/bw-gopher.png", Match::kExact},
      {"golang-image/bw-gopher_ccittGroup3.tiff", "golang-image/bw-gopher.png", Match::kExact},
      {"golang-image/bw-gopher_ccittGroup4.tiff", "golang-image/bw-gopher.png", Match::kExact},
      // One colour picture in strips, at 16 bits and in 64 x 64 tiles.
      {"golang-image/video-001.tiff", "golang-image/video-001.png", Match::kExact},
      {"golang-image/video-001-16bit.tiff", "golang-image/video-001.png", Match::kExact},
      {"golang-image/video-001-tile-64x64.tiff", "golang-image/video-001.png", Match::kExact},
      {"golang-image/video-001-paletted.tiff", "golang-image/video-001.png", Match::kSimilar},
      {"image-tiff/images/rgb-3c-8b.tiff", "image-tiff/images/rgb-3c-8b.ppm", Match::kExact},
      {"image-tiff/images/minisblack-1c-8b.tiff", "image-tiff/images/minisblack-1c-8b.pgm", Match::kExact},
      {"image-tiff/images/miniswhite-1c-1b.tiff", "image-tiff/images/miniswhite-1c-1b.pbm", Match::kExact},
      {"image-rs/images/tiff/testsuite/l1.tiff", "image-rs/reference/tiff/testsuite/l1.tiff.png", Match::kExact},
      {"image-rs/images/tiff/testsuite/fax4.tiff", "image-rs/reference/tiff/testsuite/fax4.tiff.png", Match::kExact},
      // Associated alpha with the horizontal predictor: image-rs keeps the colour
      // premultiplied, as stored.
      {"image-rs/images/tiff/testsuite/hpredict.tiff", "image-rs/reference/tiff/testsuite/hpredict.tiff.png",
       Match::kAsStored},
      {"pillow/tiff_16bit_RGB.tiff", "pillow/tiff_16bit_RGB_target.png", Match::kPremultiplied},
      {"pillow/tiff_16bit_RGBa.tiff", "pillow/tiff_16bit_RGBa_target.png", Match::kPremultiplied},
      {"pillow/tiff_strip_planar_16bit_RGBa.tiff", "pillow/tiff_16bit_RGBa_target.png", Match::kPremultiplied},
      {"pillow/hopper_webp.tif", "pillow/hopper_webp.png", Match::kExact},
      {"pillow/tiff_adobe_deflate.tif", "pillow/tiff_adobe_deflate.png", Match::kExact},
      // Strips against tiles of one picture.
      {"pillow/tiff_strip_planar_lzw.tiff", "pillow/tiff_tiled_planar_lzw.tiff", Match::kExact},
      {"pillow/tiff_strip_ycbcr_jpeg_2x2_sampling.tif", "pillow/tiff_tiled_ycbcr_jpeg_2x2_sampling.tif",
       Match::kSimilar},
      {"pillow/tiff_strip_cmyk_jpeg.tif", "pillow/tiff_tiled_cmyk_jpeg.tif", Match::kSimilar},
      // hopper as LZMA, as JPEG and as CIELab against its WebP-compressed copy.
      {"pillow/hopper_lzma.tif", "pillow/hopper_webp.png", Match::kSimilar},
      {"pillow/hopper_jpg.tif", "pillow/hopper_webp.png", Match::kSimilar},
  };
  for (const auto& r : kReferences) {
    SCOPED_TRACE(r.file);
    bool ok = false;
    const Picture decoded = decodedPicture(std::string("tiff/") + r.file, &ok);
    ASSERT_TRUE(ok);
    const Picture expected = referencePicture(std::string("tiff/") + r.reference);
    ASSERT_FALSE(expected.empty());
    const Picture ours = r.match == Match::kExact || r.match == Match::kSimilar ? decoded
                                                                               : picture_compare::premultiplied(decoded);
    const Picture theirs = r.match == Match::kPremultiplied ? picture_compare::premultiplied(expected) : expected;
    const picture_compare::Difference difference = compare(ours, theirs);
    ASSERT_TRUE(difference.sameSize);
    switch (r.match) {
      case Match::kExact:
      case Match::kAsStored:
        EXPECT_EQ(difference.maximum, 0) << difference.text();
        break;
      case Match::kPremultiplied:
        EXPECT_LE(difference.maximum, 2) << difference.text();
        break;
      case Match::kSimilar:
        // Measured 0.1 to 3.5 (a misread picture gives 20 and more).
        EXPECT_LE(difference.mean, 4.0) << difference.text();
        break;
    }
  }
}

TEST(TiffFiles, FilesOfOneChecksumDecodeAlike) {
  if (!picture_compare::haveTestdata("tiff")) GTEST_SKIP() << "no TIFF collection";
  // libtiff wrote each group from the same samples: compressions, predictors,
  // fill orders, tiles, BigTIFF and byte orders must not change a pixel. (The
  // associated and unassociated RGBA pair of 50969cda stores the same numbers
  // with different meanings, so its pixels differ.)
  const std::vector<std::vector<const char*>> kGroups = {
      {"seq-1c-8b-lzw-hpredict-20f3db0c", "seq-1c-8b-packbits-20f3db0c", "seq-1c-8b-tiled-bigtiff-20f3db0c",
       "seq-1c-8b-tiled-lzw-20f3db0c"},
      {"seq-1c-1b-71f6a21a", "seq-1c-1b-fax3-71f6a21a", "seq-1c-1b-fax3-fillbits-71f6a21a",
       "seq-1c-1b-fax3-lsb-71f6a21a"},
      {"seq-3c-8b-lzw-8743c999", "seq-3c-8b-multistrip-8743c999"},
      {"seq-1c-16b-bigendian-68f373a0", "seq-1c-16b-tiled-68f373a0"},
  };
  for (const auto& group : kGroups) {
    const Picture first = decodedPicture(std::string("tiff/image-tiff/images/seq/") + group[0] + ".tiff");
    ASSERT_FALSE(first.empty()) << group[0];
    for (const char* member : group) {
      SCOPED_TRACE(member);
      const picture_compare::Difference difference =
          compare(decodedPicture(std::string("tiff/image-tiff/images/seq/") + member + ".tiff"), first);
      ASSERT_TRUE(difference.sameSize);
      EXPECT_EQ(difference.maximum, 0) << difference.text();
    }
  }
}

TEST(TiffFiles, PagesAreCountedAndTheFirstIsRead) {
  if (!picture_compare::haveTestdata("tiff")) GTEST_SKIP() << "no TIFF collection";
  const struct {
    const char* file;
    int pages;
    int width;
    int height;
    int depth;  // bits per sample x samples per pixel
  } kFiles[] = {
      {"pillow/multipage.tiff", 3, 10, 10, 1},
      {"pillow/multipage_out_of_order.tiff", 3, 10, 10, 1},
      // Directory chains that loop back to themselves or to an earlier one.
      {"pillow/multipage_single_frame_loop.tiff", 1, 10, 10, 1},
      {"pillow/multipage_multiple_frame_loop.tiff", 2, 10, 10, 1},
      {"pillow/g4-multi.tiff", 3, 3307, 4677, 1},
      {"image-tiff/images/seq/seq-1c-8b-multipage-adeefdcc.tiff", 3, 16, 16, 8},
      {"image-tiff/geotiff/usda_naip_256_webp_z3.tif", 3, 1024, 2048, 32},
      {"image-tiff/libtiffpic/dscf0013.tif", 2, 640, 480, 24},
      {"image-tiff/images/bigtiff/BigTIFFMotorola.tif", 1, 64, 64, 24},
      {"image-tiff/images/big_g4.tif", 1, 1, 65537, 1},
      {"image-tiff/images/seq/seq-3c-12b-planar-e29e8e25.tiff", 1, 16, 16, 36},
      {"image-tiff/images/palette-1c-4b.tiff", 1, 157, 151, 4},
  };
  for (const auto& f : kFiles) {
    SCOPED_TRACE(f.file);
    bool ok = false;
    Owned<Tiff> tiff = picture_compare::readWith<Tiff>(testdata(std::string("tiff/") + f.file), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(tiff->getImageCount(), f.pages);
    EXPECT_EQ(tiff->getWidth(), f.width);
    EXPECT_EQ(tiff->getHeight(), f.height);
    EXPECT_EQ(tiff->getBitDepth(), f.depth);
  }
  // The ICC profile of the tag, and transparency.
  Owned<Tiff> profiled = picture_compare::readWith<Tiff>(testdata("tiff/pillow/hopper.iccprofile.tif"));
  EXPECT_EQ(profiled->getColourProfile().size(), 3144u);
  EXPECT_FALSE(profiled->hasTransparency());
  EXPECT_TRUE(picture_compare::readWith<Tiff>(testdata("tiff/image-tiff/benches/Transparency-lzw.tif"))->hasTransparency());
}

TEST(TiffFiles, TheOrientationTagTurnsThePictureUpright) {
  if (!picture_compare::haveTestdata("tiff")) GTEST_SKIP() << "no TIFF collection";
  // A 590 x 88 G4 picture stored for each orientation (5-8 as 88 x 590). The files
  // were made separately and differ in a few edge pixels (Pillow allows a mean of
  // 0.7); a wrong turn gives a mean of 30 and more.
  const Picture upright = decodedPicture("tiff/pillow/g4_orientation_1.tif");
  for (int orientation = 2; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    const picture_compare::Difference difference =
        compare(decodedPicture("tiff/pillow/g4_orientation_" + std::to_string(orientation) + ".tif"), upright);
    ASSERT_TRUE(difference.sameSize);
    EXPECT_LE(difference.mean, 0.7) << difference.text();
  }
}

}  // namespace
