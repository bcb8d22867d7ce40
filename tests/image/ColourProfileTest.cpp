// Colour profiles: which bytes are kept as one, every reader handing its file's
// profile to the image set, and the JPEG, PNG and WebP writers embedding the same
// bytes again (and, without a profile, writing exactly what they wrote before
// profiles existed: no APP2 segment, no iCCP chunk, nothing else changed).
#include <gtest/gtest.h>

#include <cstring>

#include "io/MemoryStreams.h"
#include "image/PictureCompare.h"
#include "image/tiff/win/TiffBuilder.h"
#include "s/image/ColourProfile.h"
#include "s/image/heif/win/Heif.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/png/win/Png.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"

namespace {

using s::image::ColourProfile;
using s::image::IEncodedImage;
using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

// A small well-formed RGB display profile: the 128-byte header, a tag table of two
// entries, a white point (XYZ of D50) and a private tag of noise. (The noise keeps
// the compressed iCCP chunk above 92 bytes: libpng reads the first 81 bytes of the
// chunk and wants 11 more, so it drops smaller ones as "too short".)
std::vector<uint8_t> rgbProfile(const char* space = "RGB ") {
  testing_streams::ByteWriter w;  // little-endian helpers; the profile is big-endian
  auto be32 = [&](uint32_t v) { w.u8(v >> 24).u8(v >> 16).u8(v >> 8).u8(v); };
  const uint32_t kNoiseBytes = 256;
  be32(128 + 4 + 24 + 20 + kNoiseBytes);     // profile size
  w.text("none");                           // preferred CMM
  be32(0x02100000);                         // version 2.1
  w.text("mntr").text(space).text("XYZ ");  // class, data colour space, connection space
  w.zeros(12);                              // date and time
  w.text("acsp").text("APPL");              // signature, platform
  be32(0);                                  // flags
  w.zeros(8);                               // manufacturer, model
  w.zeros(8);                               // attributes
  be32(0);                                  // rendering intent: perceptual
  be32(0x0000F6D6);                         // illuminant: D50 (s15Fixed16)
  be32(0x00010000);
  be32(0x0000D32D);
  w.zeros(4 + 16 + 28);                     // creator, profile id, reserved
  be32(2);                                  // tag count
  w.text("wtpt");
  be32(156);                                // offset
  be32(20);                                 // size
  w.text("zzzz");                           // a private tag
  be32(176);
  be32(kNoiseBytes);
  w.text("XYZ ").zeros(4);                  // the white point: XYZType
  be32(0x0000F6D6);
  be32(0x00010000);
  be32(0x0000D32D);
  uint32_t noise = 7;
  for (uint32_t i = 0; i < kNoiseBytes; ++i) w.u8((noise = noise * 1103515245u + 12345u) >> 24);
  return w.bytes;
}

TEST(ColourProfile, OnlyWellFormedRgbProfilesAreKept) {
  const std::vector<uint8_t> good = rgbProfile();
  ASSERT_EQ(good.size(), 432u);
  EXPECT_EQ(ColourProfile::fromBytes(good.data(), good.size()).size(), 432u);
  // A container may pad a profile: it is its declared size.
  std::vector<uint8_t> padded = good;
  padded.resize(500, 0);
  EXPECT_EQ(ColourProfile::fromBytes(padded.data(), padded.size()).size(), 432u);
  EXPECT_TRUE(ColourProfile::fromBytes(padded.data(), padded.size()) == ColourProfile::fromBytes(good.data(), good.size()));
  std::vector<uint8_t> claimsMore = good;
  claimsMore[2] = 2;  // 688 bytes declared in 432
  std::vector<uint8_t> unsignedBytes = good;
  unsignedBytes[36] = 'x';
  const std::vector<uint8_t> gray = rgbProfile("GRAY");
  const std::vector<uint8_t> cmyk = rgbProfile("CMYK");
  for (const std::vector<uint8_t>* bytes : std::initializer_list<const std::vector<uint8_t>*>{&claimsMore, &unsignedBytes, &gray, &cmyk})
    EXPECT_TRUE(ColourProfile::fromBytes(bytes->data(), bytes->size()).empty());
  EXPECT_TRUE(ColourProfile::fromBytes(good.data(), 127).empty());
  EXPECT_TRUE(ColourProfile::fromBytes(nullptr, 0).empty());
}

Owned<BufferedImage> picture() {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(24, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) {
      uint8_t* pixel = image->getLine(y) + x * 4;
      pixel[0] = static_cast<uint8_t>(x * 10);
      pixel[1] = static_cast<uint8_t>(y * 15);
      pixel[2] = 90;
      pixel[3] = 255;
    }
  return image;
}

// A set of the picture carrying the profile (none when empty).
Owned<BufferedImageSet> setWith(const ColourProfile& profile) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(picture().detach(), 32, 0, 0);
  set->setColourProfile(profile);
  return set;
}

std::vector<uint8_t> bytesOf(IEncodedImage& codec) {
  testing_streams::MemoryOutputStream out;
  EXPECT_TRUE(codec.write(out));
  return out.data;
}

template <class Codec>
ColourProfile profileRead(const std::vector<uint8_t>& bytes) {
  testing_streams::MemoryInputStream in(bytes);
  Owned<Codec> codec(Codec::create());
  EXPECT_TRUE(codec->read(in));
  Owned<BufferedImageSet> set(codec->toImageSet(0));
  EXPECT_TRUE(set->getColourProfile() == codec->getColourProfile());
  return set->getColourProfile();
}

// The JPEG without its APP2 segments (marker, 16-bit length, payload).
std::vector<uint8_t> withoutApp2(const std::vector<uint8_t>& jpeg) {
  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
    const size_t length = (size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
    if (jpeg[at + 1] != 0xE2) out.insert(out.end(), jpeg.begin() + static_cast<ptrdiff_t>(at), jpeg.begin() + static_cast<ptrdiff_t>(at + 2 + length));
    at += 2 + length;
  }
  out.insert(out.end(), jpeg.begin() + static_cast<ptrdiff_t>(at), jpeg.end());
  return out;
}

// The PNG without its iCCP chunk (length, type, data, CRC).
std::vector<uint8_t> withoutIccp(const std::vector<uint8_t>& png) {
  std::vector<uint8_t> out(png.begin(), png.begin() + 8);
  for (size_t at = 8; at + 12 <= png.size();) {
    const size_t length = (size_t{png[at]} << 24) | (size_t{png[at + 1]} << 16) | (size_t{png[at + 2]} << 8) | png[at + 3];
    if (std::memcmp(&png[at + 4], "iCCP", 4) != 0)
      out.insert(out.end(), png.begin() + static_cast<ptrdiff_t>(at), png.begin() + static_cast<ptrdiff_t>(at + 12 + length));
    at += 12 + length;
  }
  return out;
}

TEST(ColourProfile, TheWritersEmbedTheSameBytesAndOnlyThem) {
  const std::vector<uint8_t> bytes = rgbProfile();
  const ColourProfile profile = ColourProfile::fromBytes(bytes.data(), bytes.size());
  Owned<BufferedImageSet> profiled = setWith(profile);
  Owned<BufferedImageSet> plain = setWith(ColourProfile());

  Owned<s::image::jpg::win::Jpeg> jpegSource(s::image::jpg::win::Jpeg::create());
  Owned<IEncodedImage> jpeg(jpegSource->createLike(profiled.get()));
  Owned<IEncodedImage> jpegPlain(jpegSource->createLike(plain.get()));
  const std::vector<uint8_t> jpegBytes = bytesOf(*jpeg);
  const std::vector<uint8_t> jpegPlainBytes = bytesOf(*jpegPlain);
  EXPECT_TRUE(profileRead<s::image::jpg::win::Jpeg>(jpegBytes) == profile);
  EXPECT_TRUE(profileRead<s::image::jpg::win::Jpeg>(jpegPlainBytes).empty());
  EXPECT_EQ(withoutApp2(jpegPlainBytes), jpegPlainBytes);
  EXPECT_EQ(withoutApp2(jpegBytes), jpegPlainBytes);

  Owned<s::image::png::win::Png> pngSource(s::image::png::win::Png::create());
  Owned<IEncodedImage> png(pngSource->createLike(profiled.get()));
  Owned<IEncodedImage> pngPlain(pngSource->createLike(plain.get()));
  const std::vector<uint8_t> pngBytes = bytesOf(*png);
  const std::vector<uint8_t> pngPlainBytes = bytesOf(*pngPlain);
  EXPECT_TRUE(profileRead<s::image::png::win::Png>(pngBytes) == profile);
  EXPECT_TRUE(profileRead<s::image::png::win::Png>(pngPlainBytes).empty());
  EXPECT_EQ(withoutIccp(pngPlainBytes), pngPlainBytes);
  EXPECT_EQ(withoutIccp(pngBytes), pngPlainBytes);

  for (const bool lossless : {false, true}) {
    Owned<s::image::webp::win::Webp> webpSource(s::image::webp::win::Webp::create());
    webpSource->setLossless(lossless);
    Owned<IEncodedImage> webp(webpSource->createLike(profiled.get()));
    EXPECT_TRUE(profileRead<s::image::webp::win::Webp>(bytesOf(*webp)) == profile) << lossless;
    Owned<IEncodedImage> webpPlain(webpSource->createLike(plain.get()));
    EXPECT_TRUE(profileRead<s::image::webp::win::Webp>(bytesOf(*webpPlain)).empty());
  }

  // Another format's settings record carries the set's profile as well (convert).
  Owned<s::image::jpg::EncodeSetting> setting = s::thread::make<s::image::jpg::EncodeSetting>();
  Owned<IEncodedImage> encoded(setting->encodeImageSet(profiled.get()));
  EXPECT_TRUE(encoded->getColourProfile() == profile);
  // The sets made from a set keep its profile.
  Owned<BufferedImageSet> copy(profiled->copySet());
  Owned<BufferedImageSet> scaled(profiled->scaledSet(12, 8, true));
  Owned<BufferedImageSet> composed(profiled->composeFrames());
  for (BufferedImageSet* derived : {copy.get(), scaled.get(), composed.get()})
    EXPECT_TRUE(derived->getColourProfile() == profile);
  profiled->clear();
  EXPECT_TRUE(profiled->getColourProfile().empty());
}

TEST(ColourProfile, EveryReaderHandsOverItsFilesProfile) {
  const std::vector<uint8_t> bytes = rgbProfile();
  const ColourProfile profile = ColourProfile::fromBytes(bytes.data(), bytes.size());
  tiff_builder::TiffFields fields;
  fields.width = 2;
  fields.samplesPerPixel = 3;
  fields.photometric = PHOTOMETRIC_RGB;
  fields.profile = bytes;
  EXPECT_TRUE(profileRead<s::image::tiff::win::Tiff>(tiff_builder::makeTiff(fields, {{1, 2, 3, 4, 5, 6}})) == profile);
  fields.profile = rgbProfile("GRAY");  // describes no RGB pixels: not kept
  EXPECT_TRUE(profileRead<s::image::tiff::win::Tiff>(tiff_builder::makeTiff(fields, {{1, 2, 3, 4, 5, 6}})).empty());
  if (!picture_compare::haveTestdata("heif")) GTEST_SKIP() << "no HEIF collection";
  // A colr box of type prof (Display P3, 672 bytes), and one of nclx only.
  EXPECT_EQ(profileRead<s::image::heif::win::Heif>(testing_streams::readFile(
                picture_compare::testdata("heif/libheif/tests/data/rainbow-451x461.heic")))
                .size(),
            672u);
  EXPECT_TRUE(profileRead<s::image::heif::win::Heif>(
                  testing_streams::readFile(picture_compare::testdata("heif/crabbyavif/blue.heic")))
                  .empty());
}

}  // namespace
