#include "s/archive/icon/Archive.h"

#include <gtest/gtest.h>

#include <vector>

#include "archive/DirectoryFile.h"
#include "io/MemoryStreams.h"
#include "s/thread/Owned.h"

namespace {

using archive_testing::directoryFile;
using archive_testing::DirectoryEntry;
using s::thread::Owned;
using testing_streams::MemoryInputStream;
using IconArchive = s::archive::icon::Archive;

TEST(IconArchive, NearestEntryToASize) {
  const struct {
    std::vector<DirectoryEntry> entries;
    int expected;
  } kCases[] = {
      // No 32 x 32: 24 x 24 (area distance 448) beats 48 x 48 (1280).
      {{{48, 48, 0, 1, 32, 0, 0}, {24, 24, 0, 1, 32, 0, 0}, {16, 16, 0, 1, 32, 0, 0}}, 1},
      // Two 32 x 32 entries: the bit count nearer to 32 wins.
      {{{32, 32, 16, 1, 4, 0, 0}, {32, 32, 0, 1, 8, 0, 0}}, 1},
      // An exact 32-bit match is taken at once, even after another 32 x 32 entry.
      {{{32, 32, 0, 1, 24, 0, 0}, {32, 32, 0, 1, 32, 0, 0}, {32, 32, 0, 1, 32, 0, 0}}, 1},
      // Stored 0 (256 pixels) counts as 0.
      {{{0, 0, 0, 1, 32, 0, 0}, {64, 64, 0, 1, 32, 0, 0}}, 0},
  };
  for (const auto& c : kCases) {
    MemoryInputStream in(directoryFile(1, static_cast<uint16_t>(c.entries.size()), c.entries));
    Owned<IconArchive> archive = s::thread::make<IconArchive>();
    archive->attach(in);
    int index = -1;
    ASSERT_TRUE(archive->findNearestEntry(32, 32, &index));
    EXPECT_EQ(index, c.expected);
  }
  Owned<IconArchive> empty = s::thread::make<IconArchive>();
  int index = 5;
  EXPECT_FALSE(empty->findNearestEntry(32, 32, &index));
  EXPECT_EQ(index, 0);
}

}  // namespace
