// The directory chain walk of TIFF files on hand-built fixtures: pages counted to
// the end of the chain, loops and directories outside the file stopping the count,
// BigTIFF, and the bound on pages.
#include <gtest/gtest.h>

#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/tiff/TiffDirectories.h"

namespace {

using s::image::tiff::TiffCheck;
using s::image::tiff::TiffDirectories;
using testing_streams::ByteWriter;

// A little-endian classic TIFF whose directories (one entry each) sit at 8, 26,
// 44, ...; next[i] is directory i's next offset.
std::vector<uint8_t> chain(const std::vector<uint32_t>& next) {
  ByteWriter w;
  w.text("II").u16(42).u32(8);
  for (uint32_t offset : next) w.u16(1).u16(256).u16(4).u32(1).u32(1).u32(offset);  // count, one entry, next
  return w.bytes;
}
uint32_t at(int index) { return 8 + 18 * static_cast<uint32_t>(index); }

TiffCheck count(const std::vector<uint8_t>& file, int* pages) { return TiffDirectories::count(file.data(), file.size(), pages); }

TEST(TiffDirectories, PagesToTheEndOfTheChain) {
  int pages = 0;
  EXPECT_EQ(count(chain({0}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(count(chain({at(1), at(2), 0}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 3);
  // Directories out of file order.
  EXPECT_EQ(count(chain({at(2), 0, at(1)}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 3);
  // A loop to itself, a loop to an earlier one: each page counted once.
  EXPECT_EQ(count(chain({at(0)}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(count(chain({at(1), at(2), at(1)}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 3);
  // A next directory past the end, or whose entries run past it, ends the chain.
  EXPECT_EQ(count(chain({at(1), 1000000}), &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 2);
  std::vector<uint8_t> cut = chain({at(1), 0});
  cut.resize(cut.size() - 3);
  EXPECT_EQ(count(cut, &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 1);
}

TEST(TiffDirectories, BigTiffAndBigEndianFiles) {
  ByteWriter big;
  big.text("II").u16(43).u16(8).u16(0).u32(16).u32(0);                   // header, first directory at 16
  big.u32(1).u32(0).u16(256).u16(16).u32(1).u32(0).u32(7).u32(0).u32(0).u32(0);  // 64-bit count, one 20-byte entry, next 0
  int pages = 0;
  EXPECT_EQ(count(big.bytes, &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 1);
  std::vector<uint8_t> badSize = big.bytes;
  badSize[4] = 4;  // the offset byte size must be 8
  EXPECT_EQ(count(badSize, &pages), TiffCheck::kBigTiffHeader);
  // "MM": big-endian numbers; the entry count 0x0001 is 00 01.
  const std::vector<uint8_t> motorola = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 1, 0, 0, 4, 0, 0, 0, 1,
                                         0, 0, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(count(motorola, &pages), TiffCheck::kOk);
  EXPECT_EQ(pages, 1);
}

TEST(TiffDirectories, DamageAndTheBound) {
  int pages = 5;
  const std::vector<uint8_t> notTiff = {'I', 'I', 41, 0, 8, 0, 0, 0, 0, 0};
  EXPECT_EQ(count(notTiff, &pages), TiffCheck::kNotTiff);
  EXPECT_EQ(pages, 0);
  std::vector<uint8_t> firstOutside = chain({0});
  firstOutside[4] = 200;  // the first directory at 200
  EXPECT_EQ(count(firstOutside, &pages), TiffCheck::kFirstDirectory);
  std::vector<uint8_t> countTooLarge = chain({0});
  countTooLarge[8] = 0xFF;  // 255 entries in an 18-byte directory
  EXPECT_EQ(count(countTooLarge, &pages), TiffCheck::kFirstDirectory);
  // One directory past the bound: the count stops there.
  std::vector<uint32_t> next;
  for (int i = 1; i <= TiffDirectories::kMaxPages; ++i) next.push_back(at(i));
  next.push_back(0);
  EXPECT_EQ(count(chain(next), &pages), TiffCheck::kTooManyPages);
  EXPECT_EQ(pages, TiffDirectories::kMaxPages);
}

}  // namespace
