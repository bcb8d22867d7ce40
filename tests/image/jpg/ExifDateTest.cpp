// Reading the day a photograph was taken from APP1 Exif blocks and JPEG heads,
// well-formed and damaged.
#include "s/image/jpg/ExifDate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using s::image::jpg::ExifDate;

// The fields of a block holding IFD0 with the Exif directory's pointer, and that
// directory with DateTimeOriginal; the defaults make a well-formed block.
struct Block {
  bool bigEndian = false;
  std::string date = "2013:08:14 10:21:07";
  uint16_t pointerTag = 0x8769;
  uint16_t pointerType = 4;   // LONG
  uint16_t dateTag = 0x9003;  // DateTimeOriginal
  uint16_t dateType = 2;      // ASCII
  uint32_t dateCount = 20;
  int64_t exifOffset = -1;  // -1: where the Exif directory really is
  int64_t dateOffset = -1;  // -1: where the text really is
  size_t keepBytes = SIZE_MAX;  // the payload is cut after this many bytes
};

std::vector<uint8_t> payload(const Block& block) {
  std::vector<uint8_t> bytes = {'E', 'x', 'i', 'f', 0, 0};
  auto u16 = [&](uint32_t value) {
    const uint8_t high = static_cast<uint8_t>(value >> 8), low = static_cast<uint8_t>(value);
    bytes.insert(bytes.end(), block.bigEndian ? std::initializer_list<uint8_t>{high, low}
                                              : std::initializer_list<uint8_t>{low, high});
  };
  auto u32 = [&](uint32_t value) {
    u16(block.bigEndian ? value >> 16 : value & 0xFFFF);
    u16(block.bigEndian ? value & 0xFFFF : value >> 16);
  };
  bytes.insert(bytes.end(), block.bigEndian ? std::initializer_list<uint8_t>{'M', 'M'}
                                            : std::initializer_list<uint8_t>{'I', 'I'});
  u16(42);
  u32(8);  // IFD0 right after the header
  // IFD0 (8): one entry, the Exif directory's pointer; no next directory.
  u16(1);
  u16(block.pointerTag);
  u16(block.pointerType);
  u32(1);
  u32(block.exifOffset >= 0 ? static_cast<uint32_t>(block.exifOffset) : 26);
  u32(0);
  // The Exif directory (26): an exposure time ahead of the date, as cameras write.
  u16(2);
  u16(0x829A);  // ExposureTime: RATIONAL, its value elsewhere
  u16(5);
  u32(1);
  u32(0);
  u16(block.dateTag);
  u16(block.dateType);
  u32(block.dateCount);
  u32(block.dateOffset >= 0 ? static_cast<uint32_t>(block.dateOffset) : 56);
  u32(0);
  // The text (56).
  bytes.insert(bytes.end(), block.date.begin(), block.date.end());
  bytes.push_back(0);
  if (block.keepBytes < bytes.size()) bytes.resize(block.keepBytes);
  return bytes;
}

std::string read(const std::vector<uint8_t>& bytes) {
  // An allocation of exactly the block, so the sanitizers see a read past it.
  std::vector<uint8_t> copy(bytes);
  const std::u16string date = ExifDate::fromApp1(copy.empty() ? nullptr : copy.data(), copy.size());
  return std::string(date.begin(), date.end());
}

std::vector<uint8_t> segment(uint8_t marker, const std::vector<uint8_t>& content) {
  const size_t length = content.size() + 2;
  std::vector<uint8_t> bytes = {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
  bytes.insert(bytes.end(), content.begin(), content.end());
  return bytes;
}

std::string readHead(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> bytes;
  for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
  const std::u16string date = ExifDate::fromJpegHead(bytes.data(), bytes.size());
  return std::string(date.begin(), date.end());
}

TEST(ExifDate, ReadsDateTimeOriginalInEitherByteOrder) {
  for (bool bigEndian : {false, true}) {
    Block block;
    block.bigEndian = bigEndian;
    EXPECT_EQ(read(payload(block)), "2013-08-14") << (bigEndian ? "MM" : "II");
  }
}

TEST(ExifDate, OnlyRealDaysAreDates) {
  const std::pair<std::string, std::string> cases[] = {
      {"2013:08:14 10:21:07", "2013-08-14"}, {"2024:02:29 00:00:00", "2024-02-29"},  // a leap day
      {"2000:02:29 23:59:60", "2000-02-29"},  // a leap second, in a leap year of 400
      {"1900:02:29 12:00:00", ""},            // 1900 was no leap year
      {"2023:02:29 12:00:00", ""}, {"2013:13:01 10:21:07", ""}, {"2013:00:10 10:21:07", ""},
      {"2013:04:31 10:21:07", ""}, {"0000:00:00 00:00:00", ""},  // cameras without a clock
      {"    :  :     :  :  ", ""}, {"2013-08-14 10:21:07", ""}, {"2013:08:14 24:00:00", ""},
      {"2013:08:1x 10:21:07", ""}, {"2013:08:14T10:21:07", ""},
  };
  for (const auto& [text, date] : cases) {
    Block block;
    block.date = text;
    EXPECT_EQ(read(payload(block)), date) << text;
  }
}

TEST(ExifDate, DamagedOrForeignBlocksGiveNoDate) {
  auto with = [](auto change) {
    Block block;
    change(block);
    return payload(block);
  };
  const size_t whole = payload(Block{}).size();
  const std::string xmp = "http://ns.adobe.com/xap/1.0/";
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"empty", {}},
      {"only the Exif header", {'E', 'x', 'i', 'f', 0, 0}},
      {"an XMP block", std::vector<uint8_t>(xmp.begin(), xmp.end() + 1)},
      {"no pointer to the Exif directory", with([](Block& b) { b.pointerTag = 0x8825; })},  // GPS instead
      {"the pointer is not a LONG", with([](Block& b) { b.pointerType = 3; })},
      {"the Exif directory past the end", with([](Block& b) { b.exifOffset = 0x7FFFFFF0; })},
      {"the Exif directory at the largest offset", with([](Block& b) { b.exifOffset = 0xFFFFFFFF; })},
      {"only DateTimeDigitized", with([](Block& b) { b.dateTag = 0x9004; })},
      {"the date is not ASCII", with([](Block& b) { b.dateType = 7; })},
      {"a date of another length", with([](Block& b) { b.dateCount = 19; })},
      {"the text past the end", with([&](Block& b) { b.dateOffset = static_cast<int64_t>(whole); })},
      {"the text at the largest offset", with([](Block& b) { b.dateOffset = 0xFFFFFFFF; })},
      {"the text runs over the end", with([&](Block& b) { b.dateOffset = static_cast<int64_t>(whole) - 6 - 10; })},
      {"cut inside the text", with([&](Block& b) { b.keepBytes = whole - 5; })},
      {"cut inside the Exif directory", with([](Block& b) { b.keepBytes = 6 + 30; })},
  };
  for (const auto& [name, bytes] : cases) EXPECT_EQ(read(bytes), "") << name;
  // Every cut of a good block reads without touching bytes past the cut.
  const std::vector<uint8_t> good = payload(Block{});
  for (size_t keep = 0; keep < good.size(); ++keep) {
    EXPECT_EQ(read(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(keep))), "") << keep;
  }
}

TEST(ExifDate, JpegHeadsAreWalkedSegmentBySegmentUpToTheScan) {
  const std::vector<uint8_t> start = {0xFF, 0xD8};
  const std::vector<uint8_t> app0 = segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  const std::vector<uint8_t> xmp = segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/'});
  const std::vector<uint8_t> exif = segment(0xE1, payload(Block{}));
  const std::vector<uint8_t> scan = {0xFF, 0xDA, 0x00, 0x02};
  EXPECT_EQ(readHead({start, exif, scan}), "2013-08-14");
  EXPECT_EQ(readHead({start, app0, xmp, exif, scan}), "2013-08-14") << "other segments first";
  EXPECT_EQ(readHead({start, {0xFF, 0xFF}, app0, exif}), "2013-08-14") << "fill bytes before a marker";
  EXPECT_EQ(readHead({start, app0, scan, exif}), "") << "an APP1 after the scan is picture data";
  EXPECT_EQ(readHead({{0xFF, 0xD9}, exif}), "") << "not a JPEG";
  EXPECT_EQ(readHead({start, {0xFF, 0xE0, 0x00, 0x01}, exif}), "") << "a length below its own two bytes";
  EXPECT_EQ(readHead({start, {0xFF, 0xE0, 0xFF, 0xFF}, exif}), "") << "a length past the end";
  EXPECT_EQ(readHead({start, {0x00}, exif}), "") << "no marker where one belongs";
  std::vector<uint8_t> cut = exif;
  cut.resize(cut.size() - 3);
  EXPECT_EQ(readHead({start, cut}), "") << "the Exif segment cut short";
}

}  // namespace
