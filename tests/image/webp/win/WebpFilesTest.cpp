// The WebP collections of the shared test data: every picture decodes (the
// malformed Exiv2 files are refused), matches the reference decodes the folders
// carry, animations give their frames and durations, and a still's EXIF
// orientation turns it upright. Run under the sanitizers too.
//
// Tolerances: lossless files, and lossy ones against image-rs's and dwebp's
// decodes, must match exactly (the other decoders upsample VP8's half-resolution
// chroma as libwebp does). Composed animation frames may be off by 1 where the
// composition blends. A lossy file against the picture it was made from can only
// be compared by its mean difference, the compression's own loss.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "image/PictureCompare.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

namespace fs = std::filesystem;
using picture_compare::compare;
using picture_compare::Picture;
using picture_compare::testdata;
using s::image::webp::win::Webp;
using s::thread::Owned;

// Mean difference of a lossy file from the picture it was made from (measured:
// 1.7 to 5.5 here).
constexpr double kSourceMean = 6.0;

TEST(WebpFiles, EveryPictureDecodesAndEveryMalformedFileIsRefused) {
  if (!picture_compare::haveTestdata("webp")) GTEST_SKIP() << "no WebP collection";
  // The Exiv2 proofs of concept: chunk sizes far past the end, a RIFF size of
  // 187526 in 17 bytes, a broken VP8 header after an unnamed chunk.
  const std::set<std::string> refused = {
      "exiv2/cve_2017_1000126_stack-oob-read.webp", "exiv2/issue_1841_poc.webp",
      "exiv2/issue_2270_poc.webp",                  "exiv2/issue_791_poc1.webp",
      "exiv2/issue_960.poc.webp",                   "exiv2/issue_ghsa_5p8g_9xf3_gfrr_poc.webp"};
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(testdata("webp"))) {
    if (entry.path().extension() != ".webp") continue;
    const std::string name = fs::relative(entry.path(), testdata("webp")).generic_string();
    SCOPED_TRACE(name);
    ++files;
    bool ok = false;
    Owned<Webp> webp = picture_compare::readWith<Webp>(entry.path().string(), &ok);
    if (refused.count(name)) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(webp->getWidth(), 0);
      EXPECT_EQ(webp->getImageCount(), 0);
      continue;
    }
    ASSERT_TRUE(ok);
    EXPECT_GT(webp->getWidth(), 0);
    EXPECT_GT(webp->getHeight(), 0);
    EXPECT_GE(webp->getImageCount(), 1);
  }
  EXPECT_EQ(files, 63);
}

// How close a reference must be.
enum class Match {
  kExact,     // lossless, or lossy decoded the same way
  kDecoder,   // another decoder's rounding (composing animation frames)
  kSource,    // a lossy file against the picture it was made from: the loss of
              // the compression itself, not of decoding
};

struct Reference {
  const char* file;
  const char* reference;  // PNG, PNM or the uncompressed TIFF source
  Match match;
};

// A reference as a picture: PNG through our PNG codec, PNM, or the uncompressed
// TIFF source through our TIFF codec.
Picture referencePicture(const std::string& path) {
  const std::string extension = fs::path(path).extension().string();
  if (extension == ".png") return picture_compare::decodePng(path);
  if (extension == ".tiff") {
    Owned<s::image::tiff::win::Tiff> tiff = picture_compare::readWith<s::image::tiff::win::Tiff>(path);
    return picture_compare::fromCodec(*tiff);
  }
  return picture_compare::decodePnm(path);
}

void expectClose(const Picture& decoded, const Picture& expected, Match match) {
  const picture_compare::Difference difference = compare(decoded, expected);
  ASSERT_TRUE(difference.sameSize) << decoded.width << "x" << decoded.height;
  switch (match) {
    case Match::kExact:
      EXPECT_EQ(difference.maximum, 0) << difference.text();
      break;
    case Match::kDecoder:
      EXPECT_LE(difference.maximum, 1) << difference.text();
      break;
    case Match::kSource:
      EXPECT_LE(difference.mean, kSourceMean) << difference.text();
      break;
  }
}

TEST(WebpFiles, PicturesMatchTheReferenceDecodes) {
  if (!picture_compare::haveTestdata("webp")) GTEST_SKIP() << "no WebP collection";
  const Reference kReferences[] = {
      {"image-rs/images/webp/lossless_images/2-color.webp", "image-rs/reference/webp/lossless_images/2-color.webp.png", Match::kExact},
      {"image-rs/images/webp/lossless_images/multi-color.webp", "image-rs/reference/webp/lossless_images/multi-color.webp.png", Match::kExact},
      {"image-rs/images/webp/lossless_images/simple.webp", "image-rs/reference/webp/lossless_images/simple.webp.png", Match::kExact},
      {"image-rs/images/webp/lossy_images/simple-gray.webp", "image-rs/reference/webp/lossy_images/simple-gray.webp.png", Match::kExact},
      {"image-rs/images/webp/lossy_images/simple-rgb.webp", "image-rs/reference/webp/lossy_images/simple-rgb.webp.png", Match::kExact},
      {"image-rs/images/webp/extended_images/lossy_alpha.webp", "image-rs/reference/webp/extended_images/lossy_alpha.webp.png", Match::kExact},
      {"image-rs/images/webp/extended_images/anim.webp", "image-rs/reference/webp/extended_images/anim.webp.png", Match::kDecoder},
      {"image-rs/images/webp/extended_images/advertises_rgba_but_frames_are_rgb.webp",
       "image-rs/reference/webp/extended_images/advertises_rgba_but_frames_are_rgb.webp.png", Match::kExact},
      {"image-webp/images/regression/color_index.webp", "image-webp/reference/regression/color_index.png", Match::kExact},
      {"image-webp/images/regression/dark.webp", "image-webp/reference/regression/dark.png", Match::kExact},
      {"image-webp/images/regression/lossless_indexed_1bit_palette.webp", "image-webp/reference/regression/lossless_indexed_1bit_palette.png", Match::kExact},
      {"image-webp/images/regression/lossless_indexed_2bit_palette.webp", "image-webp/reference/regression/lossless_indexed_2bit_palette.png", Match::kExact},
      {"image-webp/images/regression/lossless_indexed_4bit_palette.webp", "image-webp/reference/regression/lossless_indexed_4bit_palette.png", Match::kExact},
      {"image-webp/images/regression/tiny.webp", "image-webp/reference/regression/tiny.png", Match::kExact},
      {"golang-image/gopher-doc.1bpp.lossless.webp", "golang-image/gopher-doc.1bpp.png", Match::kExact},
      {"golang-image/gopher-doc.8bpp.lossless.webp", "golang-image/gopher-doc.8bpp.png", Match::kExact},
      {"golang-image/gopher-doc.with-alpha.lossless.webp", "golang-image/gopher-doc.with-alpha.png", Match::kExact},
      {"golang-image/blue-purple-pink.lossless.webp", "golang-image/blue-purple-pink.png", Match::kExact},
      {"golang-image/blue-purple-pink.lossy.webp", "golang-image/blue-purple-pink.png", Match::kSource},
      {"pillow/hopper.webp", "pillow/hopper_webp_bits.ppm", Match::kExact},
      {"libwebp/test.webp", "libwebp/test_ref.ppm", Match::kDecoder},
      {"wuffs/bricks-color.lossless.webp", "wuffs/bricks-color.tiff", Match::kExact},
      {"wuffs/bricks-gray.lossless.webp", "wuffs/bricks-gray.tiff", Match::kExact},
      {"wuffs/hippopotamus.lossless.webp", "wuffs/hippopotamus.tiff", Match::kExact},
      {"wuffs/pjw-thumbnail.lossless.webp", "wuffs/pjw-thumbnail.tiff", Match::kExact},
      {"wuffs/bricks-color.lossy.webp", "wuffs/bricks-color.tiff", Match::kSource},
      {"wuffs/hippopotamus.lossy.webp", "wuffs/hippopotamus.tiff", Match::kSource},
  };
  for (const Reference& r : kReferences) {
    SCOPED_TRACE(r.file);
    Owned<Webp> webp = picture_compare::readWith<Webp>(testdata(std::string("webp/") + r.file));
    const Picture expected = referencePicture(testdata(std::string("webp/") + r.reference));
    ASSERT_FALSE(expected.empty()) << r.reference;
    expectClose(picture_compare::fromCodec(*webp), expected, r.match);
  }
}

TEST(WebpFiles, AnimationsGiveEveryFrameWithItsDuration) {
  if (!picture_compare::haveTestdata("webp")) GTEST_SKIP() << "no WebP collection";
  const struct {
    const char* name;
    int frames;
    int duration;  // of every frame, milliseconds
    bool lossless;
  } kAnimations[] = {{"random_lossless", 3, 100, true}, {"random_lossy", 4, 150, false}};
  for (const auto& a : kAnimations) {
    SCOPED_TRACE(a.name);
    Owned<Webp> webp =
        picture_compare::readWith<Webp>(testdata(std::string("webp/image-webp/images/animated/") + a.name + ".webp"));
    ASSERT_EQ(webp->getFrameCount(), a.frames);
    EXPECT_TRUE(webp->isAnimated());
    EXPECT_EQ(webp->isLossless(), a.lossless);
    Owned<s::image::win::BufferedImageSet> set(webp->toImageSet(0));
    ASSERT_EQ(set->getCount(), a.frames);
    EXPECT_TRUE(set->isAnimated());
    for (int i = 0; i < a.frames; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(set->getDelay(i), a.duration);
      // The references are the frames as webpmux extracts them; libwebp's
      // composition of each over the canvas rounds its blending (Match::kDecoder).
      const Picture expected = picture_compare::decodePng(testdata(std::string("webp/image-webp/reference/animated/") +
                                                                   a.name + "-" + std::to_string(i + 1) + ".png"));
      expectClose(picture_compare::fromImage(set->getImage(i)), expected, Match::kDecoder);
    }
  }
  // 99 frames on a 13 x 169 canvas.
  Owned<Webp> tall = picture_compare::readWith<Webp>(testdata("webp/libvips/big-height.webp"));
  EXPECT_EQ(tall->getFrameCount(), 99);
  EXPECT_EQ(tall->getWidth(), 13);
  EXPECT_EQ(tall->getHeight(), 169);
}

TEST(WebpFiles, TheExifOrientationTurnsAStillUpright) {
  if (!picture_compare::haveTestdata("webp")) GTEST_SKIP() << "no WebP collection";
  // Each file holds hopper stored so that its orientation (2-8) makes it upright;
  // each is a lossy encoding of its own, hence a mean difference rather than none
  // (a wrong turn gives a mean of 30 and more).
  const Picture upright = picture_compare::fromCodec(*picture_compare::readWith<Webp>(testdata("webp/pillow/hopper.webp")));
  for (int orientation = 2; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    Owned<Webp> webp = picture_compare::readWith<Webp>(
        testdata("webp/pillow/hopper_orientation_" + std::to_string(orientation) + ".webp"));
    const picture_compare::Difference difference = compare(picture_compare::fromCodec(*webp), upright);
    ASSERT_TRUE(difference.sameSize);
    EXPECT_LE(difference.mean, kSourceMean) << difference.text();
  }
}

}  // namespace
