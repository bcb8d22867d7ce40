// Reading the orientation from APP1 Exif blocks, well-formed and damaged.
#include "s/image/jpg/ExifOrientation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/jpg/ExifFixtures.h"

namespace {

using exif_fixtures::Block;
using s::image::jpg::ExifOrientation;

TEST(ExifOrientation, ReadsTheTagInEitherByteOrderWhereverIfd0Is) {
  for (bool bigEndian : {false, true}) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
      for (int entriesBefore : {0, 5}) {
        for (uint32_t gap : {0u, 1u, 3000u}) {
          Block block;
          block.bigEndian = bigEndian;
          block.orientation = orientation;
          block.entriesBefore = entriesBefore;
          block.gap = gap;
          const std::vector<uint8_t> bytes = exif_fixtures::payload(block);
          EXPECT_EQ(ExifOrientation::fromApp1(bytes.data(), bytes.size()), orientation)
              << (bigEndian ? "MM " : "II ") << orientation << " after " << entriesBefore << " entries, gap " << gap;
        }
      }
    }
  }
}

TEST(ExifOrientation, DamagedOrForeignBlocksLeaveThePictureAsStored) {
  auto with = [](auto change) {
    Block block;
    block.bigEndian = true;
    change(block);
    return exif_fixtures::payload(block);
  };
  const size_t whole = exif_fixtures::payload(Block{}).size();
  const std::string xmp = "http://ns.adobe.com/xap/1.0/";
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"only the Exif header", {'E', 'x', 'i', 'f', 0, 0}},
      {"an XMP block", std::vector<uint8_t>(xmp.begin(), xmp.end() + 1)},
      {"Exif header without its zeros", {'E', 'x', 'i', 'f', 'I', 'I', 42, 0, 8, 0, 0, 0}},
      {"unknown byte order", [&] { auto b = with([](Block&) {}); b[6] = 'I'; b[7] = 'M'; return b; }()},
      {"wrong magic number", with([](Block& b) { b.magic = 43; })},
      {"IFD0 past the end", with([](Block& b) { b.directoryOffset = 0x7FFFFFF0; })},
      {"IFD0 at the largest offset", with([](Block& b) { b.directoryOffset = 0xFFFFFFFF; })},
      {"IFD0 inside the header", with([](Block& b) { b.directoryOffset = 0; })},
      {"cut inside the entry count", with([](Block& b) { b.keepBytes = 6 + 8 + 1; })},
      {"cut inside the orientation value", with([whole](Block& b) { b.keepBytes = whole - 8; })},
      {"no orientation, more entries counted than present", with([](Block& b) {
         b.entriesBefore = 2;
         b.withOrientation = false;
         b.entryCount = 0xFFFF;
       })},
      {"orientation as a LONG", with([](Block& b) { b.type = 4; })},
      {"two values", with([](Block& b) { b.count = 2; })},
      {"value 0", with([](Block& b) { b.orientation = 0; })},
      {"value 9", with([](Block& b) { b.orientation = 9; })},
      {"value 0xFFFF", with([](Block& b) { b.orientation = 0xFFFF; })},
  };
  for (const Case& c : cases) {
    // An allocation of exactly the block, so that the sanitizers catch a read past it.
    std::unique_ptr<uint8_t[]> bytes(c.bytes.empty() ? nullptr : new uint8_t[c.bytes.size()]);
    if (bytes) std::memcpy(bytes.get(), c.bytes.data(), c.bytes.size());
    EXPECT_EQ(ExifOrientation::fromApp1(bytes.get(), c.bytes.size()), 1) << c.name;
  }
}

}  // namespace
