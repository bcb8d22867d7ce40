#include <gtest/gtest.h>

#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/ImageFormat.h"

namespace {

using s::image::ImageFormat;
using s::image::ImageType;
using testing_streams::ByteWriter;

// A 101-byte file (the smallest ever examined) starting with prefix.
std::vector<uint8_t> fileWith(std::vector<uint8_t> prefix, size_t size = 101) {
  prefix.resize(size, 0);
  return prefix;
}

// An icon directory: reserved 0, type 1, count, then 16-byte entries.
struct Entry {
  uint8_t reserved = 0;
  uint16_t bitCount = 32;
  uint32_t size = 40;
  uint32_t offset = 0;  // 0: right after the directory
};
std::vector<uint8_t> iconFile(uint16_t count, std::vector<Entry> entries, size_t fileSize = 400) {
  ByteWriter w;
  w.u16(0).u16(1).u16(count);  // reserved, type 1 (icon), image count
  for (const Entry& e : entries) {
    w.u8(16).u8(16)            // width, height
        .u8(0)                 // colour count
        .u8(e.reserved)        // reserved: must be 0
        .u16(1)                // planes
        .u16(e.bitCount)       // bits per pixel
        .u32(e.size)           // data size
        .u32(e.offset ? e.offset : 6 + 16 * count);  // data offset
  }
  return fileWith(w.bytes, fileSize);
}

// An ISO base media file: ftyp of the major brand and the compatible brands, then
// zeros (big-endian box size).
std::vector<uint8_t> isoFile(const char* major, std::vector<const char*> compatible, uint32_t sizeChange = 0) {
  std::vector<uint8_t> box = {0, 0, 0, 0, 'f', 't', 'y', 'p'};
  box.insert(box.end(), major, major + 4);
  box.insert(box.end(), 4, 0);  // minor version
  for (const char* brand : compatible) box.insert(box.end(), brand, brand + 4);
  const uint32_t size = static_cast<uint32_t>(box.size()) + sizeChange;
  box[0] = static_cast<uint8_t>(size >> 24);
  box[1] = static_cast<uint8_t>(size >> 16);
  box[2] = static_cast<uint8_t>(size >> 8);
  box[3] = static_cast<uint8_t>(size);
  return fileWith(box, 300);
}

ImageType detect(const std::vector<uint8_t>& file) {
  return ImageFormat::detect(file.data(), file.size() < 100 ? file.size() : 100, static_cast<int64_t>(file.size()));
}

TEST(ImageFormat, SignatureTable) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    ImageType expected;
  };
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<Entry> five(5), six(6);
  six[5].reserved = 1;  // the sixth entry is never examined
  std::vector<Entry> firstPastEnd(1);
  firstPastEnd[0].size = 1000;
  std::vector<Entry> wrapping(1);
  wrapping[0].offset = 0xFFFFFFF0;  // offset + size wraps in 32 bits
  wrapping[0].size = 0x20;
  std::vector<Entry> badBits(1), badReserved(1), offsetInsideDirectory(1);
  badBits[0].bitCount = 33;
  badReserved[0].reserved = 1;
  offsetInsideDirectory[0].offset = 21;  // before the entry's own end (6 + 16)
  const Case cases[] = {
      {"jpeg E0", fileWith({0xFF, 0xD8, 0xFF, 0xE0}), ImageType::kJpg},
      {"jpeg 01", fileWith({0xFF, 0xD8, 0xFF, 0x01}), ImageType::kJpg},
      {"jpeg FE", fileWith({0xFF, 0xD8, 0xFF, 0xFE}), ImageType::kJpg},
      {"jpeg 00 is nothing", fileWith({0xFF, 0xD8, 0xFF, 0x00}), ImageType::kUnknown},
      {"jpeg F1 is nothing", fileWith({0xFF, 0xD8, 0xFF, 0xF1}), ImageType::kUnknown},
      {"gif87a", fileWith({'G', 'I', 'F', '8', '7', 'a'}), ImageType::kGif},
      {"gif89a", fileWith({'G', 'I', 'F', '8', '9', 'a'}), ImageType::kGif},
      {"gif88a", fileWith({'G', 'I', 'F', '8', '8', 'a'}), ImageType::kUnknown},
      {"png", fileWith(png), ImageType::kPng},
      {"bmp", fileWith({'B', 'M', 1, 2, 3, 4, 0, 0, 0, 0}), ImageType::kBmp},
      {"bmp reserved not zero", fileWith({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 1}), ImageType::kUnknown},
      {"tiff II", fileWith({'I', 'I', '*', 0x77}), ImageType::kTiff},
      {"tiff MM", fileWith({'M', 'M', '*'}), ImageType::kTiff},
      {"ico", iconFile(1, std::vector<Entry>(1)), ImageType::kIco},
      {"ico count 0", iconFile(0, {}), ImageType::kUnknown},
      {"ico five good entries", iconFile(5, five), ImageType::kIco},
      {"ico sixth entry unchecked", iconFile(6, six), ImageType::kIco},
      {"ico first entry past the end", iconFile(1, firstPastEnd), ImageType::kUnknown},
      {"ico wrapping offset", iconFile(1, wrapping), ImageType::kUnknown},
      {"ico 33 bits", iconFile(1, badBits), ImageType::kUnknown},
      {"ico reserved", iconFile(1, badReserved), ImageType::kUnknown},
      {"ico offset inside directory", iconFile(1, offsetInsideDirectory), ImageType::kUnknown},
      {"ico directory larger than file", iconFile(7, std::vector<Entry>(5), 110), ImageType::kUnknown},
      {"nothing", fileWith({'h', 'e', 'l', 'l', 'o'}), ImageType::kUnknown},
      // The later formats, after all of the above.
      {"avif major", isoFile("avif", {"mif1", "miaf"}), ImageType::kAvif},
      {"avis major", isoFile("avis", {"msf1"}), ImageType::kAvif},
      {"avif among the compatible", isoFile("mif1", {"miaf", "avif"}), ImageType::kAvif},
      {"heic before avif", isoFile("mif1", {"heic", "avif"}), ImageType::kHeic},
      {"heic major", isoFile("heic", {"mif1"}), ImageType::kHeic},
      {"heix", isoFile("heix", {}), ImageType::kHeic},
      {"hevc sequence", isoFile("hevc", {"msf1"}), ImageType::kHeic},
      {"mif1 alone", isoFile("mif1", {}), ImageType::kHeic},
      {"msf1 alone", isoFile("msf1", {"iso8"}), ImageType::kHeic},
      {"mp4 video", isoFile("isom", {"iso2", "mp41"}), ImageType::kUnknown},
      {"quicktime", isoFile("qt  ", {}), ImageType::kUnknown},
      {"ftyp smaller than its fields", isoFile("heic", {}, static_cast<uint32_t>(-1)), ImageType::kUnknown},
      // Brands beyond the first 100 bytes are not read.
      {"avif past the prefix",
       isoFile("mif1", {"miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf",
                        "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf", "miaf",
                        "avif"}),
       ImageType::kHeic},
      {"webp", fileWith({'R', 'I', 'F', 'F', 0x10, 0, 0, 0, 'W', 'E', 'B', 'P'}), ImageType::kWebp},
      {"riff wave", fileWith({'R', 'I', 'F', 'F', 0x10, 0, 0, 0, 'W', 'A', 'V', 'E'}), ImageType::kUnknown},
      {"tiff MM 0 42", fileWith({'M', 'M', 0, 42}), ImageType::kTiff},
      {"bigtiff II", fileWith({'I', 'I', 43, 0}), ImageType::kTiff},
      {"bigtiff MM", fileWith({'M', 'M', 0, 43}), ImageType::kTiff},
      {"tiff MI is nothing", fileWith({'M', 'I', 0, 42}), ImageType::kUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(detect(c.file), c.expected) << c.name;
}

TEST(ImageFormat, FilesOf100BytesOrLessAreNeverRecognised) {
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_EQ(detect(fileWith(png, 100)), ImageType::kUnknown);
  EXPECT_EQ(detect(fileWith(png, 101)), ImageType::kPng);
  for (const std::vector<uint8_t>& prefix :
       {std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'}, std::vector<uint8_t>{'M', 'M', 0, 42},
        std::vector<uint8_t>{0, 0, 0, 16, 'f', 't', 'y', 'p', 'a', 'v', 'i', 'f', 0, 0, 0, 0}}) {
    EXPECT_EQ(detect(fileWith(prefix, 100)), ImageType::kUnknown);
    EXPECT_NE(detect(fileWith(prefix, 101)), ImageType::kUnknown);
  }
  // A short read of the prefix is not recognised either.
  std::vector<uint8_t> file = fileWith(png, 101);
  EXPECT_EQ(ImageFormat::detect(file.data(), 99, 101), ImageType::kUnknown);
}

TEST(ImageFormat, TypeWordsAndCodecs) {
  EXPECT_EQ(ImageFormat::typeWord(ImageType::kUnknown), nullptr);
  EXPECT_EQ(ImageFormat::newCodec(ImageType::kUnknown), nullptr);
  const struct {
    ImageType type;
    const char16_t* word;
    const char16_t* extension;  // of the empty codec
  } kCodecs[] = {{ImageType::kBmp, u"bmp", u".bmp"},   {ImageType::kJpg, u"jpg", u".jpg"},
                 {ImageType::kPng, u"png", u".png"},   {ImageType::kGif, u"gif", u".gif"},
                 {ImageType::kIco, u"ico", u".ico"},   {ImageType::kTiff, u"tiff", u".tif"},
                 {ImageType::kHeic, u"heic", u".heic"}, {ImageType::kAvif, u"avif", u".heic"},
                 {ImageType::kWebp, u"webp", u".webp"}};
  for (const auto& expected : kCodecs) {
    EXPECT_EQ(std::u16string(ImageFormat::typeWord(expected.type)), expected.word);
    s::thread::Owned<s::image::IEncodedImage> codec = ImageFormat::newCodec(expected.type);
    ASSERT_TRUE(codec);
    EXPECT_EQ(std::u16string(codec->getExtension()), expected.extension);
  }
}

}  // namespace
