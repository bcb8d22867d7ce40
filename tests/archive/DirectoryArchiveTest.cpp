// Icon and cursor archives: directories, extraction, writing, groups taken from a
// module's resources (held in memory here), and hostile directories.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "archive/DirectoryFile.h"
#include "io/MemoryStreams.h"
#include "s/archive/cur/Archive.h"
#include "s/archive/dll/ResourceKinds.h"
#include "s/archive/dll/win/Archive.h"
#include "s/archive/icon/Archive.h"
#include "s/thread/Owned.h"

namespace {

using s::archive::cur::Archive;
using s::thread::Owned;
using archive_testing::directoryFile;
using archive_testing::DirectoryEntry;
using testing_streams::ByteWriter;
using testing_streams::MemoryInputStream;
using testing_streams::MemoryOutputStream;
using IconArchive = s::archive::icon::Archive;
using ModuleArchive = s::archive::dll::win::Archive;

std::vector<uint8_t> counting(size_t count, uint8_t first = 0) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

TEST(IconArchive, ExtractsAnEntryAsAOneImageFile) {
  // A 32 x 32 entry of 2216 bytes becomes a file of 22 + 2216 bytes.
  const std::vector<uint8_t> data = counting(2216, 7);
  MemoryInputStream in(directoryFile(1, 1, {{32, 32, 0, 1, 32, 2216, 22}}, data));
  Owned<IconArchive> archive = s::thread::make<IconArchive>();
  archive->attach(in);
  ASSERT_EQ(archive->getEntryCount(), 1);
  MemoryOutputStream out;
  ASSERT_TRUE(archive->extractEntry(archive->getEntry(0), out));
  ASSERT_EQ(out.data.size(), 2238u);
  EXPECT_EQ(std::vector<uint8_t>(out.data.begin(), out.data.begin() + 8),
            (std::vector<uint8_t>{0, 0, 1, 0, 1, 0, 32, 32}));
  EXPECT_EQ(std::vector<uint8_t>(out.data.begin() + 18, out.data.begin() + 22), (std::vector<uint8_t>{22, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(out.data.begin() + 22, out.data.end()), data);
}

TEST(IconArchive, EntryDataStaysInsideTheSource) {
  // Declared sizes and offsets past the end, a count larger than the directory the
  // file holds, and an offset + size that passes 2^32.
  const std::vector<uint8_t> tail = counting(40);
  std::vector<uint8_t> file = directoryFile(1, 500,
                                            {{16, 16, 0, 1, 32, 0xFFFFFFF0u, 54},   // runs past the end
                                             {16, 16, 0, 1, 32, 0x20, 0xFFFFFFF0u},  // offset past the end
                                             {16, 16, 0, 1, 32, 8, 70}},             // inside
                                            tail);
  MemoryInputStream in(file);
  Owned<IconArchive> archive = s::thread::make<IconArchive>();
  archive->attach(in);
  EXPECT_EQ(archive->getHeaderCount(), 500);
  // The directory ends where the file does: two more 16-byte entries fit in the tail.
  EXPECT_EQ(archive->getEntryCount(), 5);
  archive->loadEntryData(archive->getEntry(0));
  EXPECT_EQ(archive->getEntry(0)->data().getCount(), file.size() - 54);
  EXPECT_EQ(archive->getEntry(0)->getDataSize(), file.size() - 54);
  archive->loadEntryData(archive->getEntry(1));
  EXPECT_EQ(archive->getEntry(1)->data().getCount(), 0u);
  archive->loadEntryData(archive->getEntry(2));
  EXPECT_EQ(std::vector<uint8_t>(archive->getEntry(2)->data().data(), archive->getEntry(2)->data().data() + 8),
            std::vector<uint8_t>(file.begin() + 70, file.begin() + 78));
}

TEST(CursorArchive, HeightZeroTakesTheWidth) {
  MemoryInputStream in(directoryFile(2, 2, {{32, 0, 0, 5, 9, 0, 0}, {48, 24, 0, 1, 2, 0, 0}}));
  Owned<Archive> archive = s::thread::make<Archive>();
  archive->attach(in);
  ASSERT_EQ(archive->getEntryCount(), 2);
  EXPECT_EQ(archive->getEntry(0)->getHeight(), 32);
  EXPECT_EQ(archive->getEntry(0)->getPlanes(), 5);  // the hot spot's x
  EXPECT_EQ(archive->getEntry(1)->getHeight(), 24);
  MemoryOutputStream out;
  ASSERT_TRUE(archive->extractEntry(archive->getEntry(0), out));
  EXPECT_EQ(out.data[2], 2);  // a cursor file
}

// A group resource: header (reserved, type, count) and 14-byte entries whose last
// two bytes number the image resource.
std::vector<uint8_t> groupResource(uint16_t type, const std::vector<std::pair<uint8_t, uint16_t>>& sizesAndIds) {
  ByteWriter w;
  w.u16(0).u16(type).u16(static_cast<uint32_t>(sizesAndIds.size()));
  for (auto [size, id] : sizesAndIds) w.u8(size).u8(size).u8(0).u8(0).u16(1).u16(32).u32(0).u16(id);
  return w.bytes;
}

TEST(IconArchive, GroupWithAMissingImageKeepsTheOthers) {
  Owned<ModuleArchive> module = s::thread::make<ModuleArchive>();
  const std::vector<uint8_t> group = groupResource(1, {{16, 1}, {32, 2}, {48, 3}});
  const std::vector<uint8_t> first = counting(100), third = counting(60, 200);
  module->putResource(first.data(), first.size(), 3, 1, 0);  // RT_ICON 1
  module->putResource(third.data(), third.size(), 3, 3, 0);  // RT_ICON 3; 2 is missing
  module->putResource(group.data(), group.size(), 14, 128, 0);  // RT_GROUP_ICON 128
  Owned<IconArchive> archive = s::thread::make<IconArchive>();
  EXPECT_FALSE(archive->loadIconGroup(*module, 129));
  ASSERT_TRUE(archive->loadIconGroup(*module, 128));
  ASSERT_EQ(archive->getEntryCount(), 2);
  EXPECT_EQ(archive->getHeaderCount(), 3);  // the group's count is kept
  MemoryOutputStream out;
  ASSERT_TRUE(archive->writeIconFile(out));
  ASSERT_EQ(out.data.size(), 6u + 32 + 100 + 60);
  const auto u32at = [&](size_t at) {
    return out.data[at] | (out.data[at + 1] << 8) | (out.data[at + 2] << 16) | (uint32_t{out.data[at + 3]} << 24);
  };
  EXPECT_EQ(out.data[4], 2);            // count
  EXPECT_EQ(u32at(6 + 8), 100u);        // first data size
  EXPECT_EQ(u32at(6 + 12), 38u);        // first offset
  EXPECT_EQ(u32at(22 + 12), 138u);      // second offset: 38 + the first size
  EXPECT_EQ(out.data[22], 48);          // the third image's width
  // The module's own extraction writes the same file.
  int groupIndex = -1;
  ASSERT_TRUE(module->findByKindAndNameNumber(s::archive::dll::kKindGroupIcon, 128, &groupIndex));
  MemoryOutputStream extracted;
  ASSERT_TRUE(module->extractIconGroup(groupIndex, extracted));
  EXPECT_EQ(extracted.data, out.data);
}

TEST(CursorArchive, GroupTakesTheHotSpotFromTheImage) {
  Owned<ModuleArchive> module = s::thread::make<ModuleArchive>();
  ByteWriter cursor;
  cursor.u16(5).u16(9).raw(counting(20));  // hot spot (5, 9), then the image
  const std::vector<uint8_t> tiny = {1, 2};  // shorter than a hot spot
  const std::vector<uint8_t> group = groupResource(2, {{32, 7}, {16, 8}});
  module->putResource(cursor.bytes.data(), cursor.bytes.size(), 1, 7, 0);  // RT_CURSOR
  module->putResource(tiny.data(), tiny.size(), 1, 8, 0);
  module->putResource(group.data(), group.size(), 12, 1, 0);  // RT_GROUP_CURSOR
  Owned<Archive> archive = s::thread::make<Archive>();
  ASSERT_TRUE(archive->loadCursorGroup(*module, 1));
  ASSERT_EQ(archive->getEntryCount(), 2);
  EXPECT_EQ(archive->getEntry(0)->getHeight(), 32);
  EXPECT_EQ(archive->getEntry(0)->getPlanes(), 5);
  EXPECT_EQ(archive->getEntry(0)->getBitCount(), 9);
  EXPECT_EQ(archive->getEntry(0)->getDataSize(), 20u);
  EXPECT_EQ(archive->getEntry(1)->getDataSize(), 0u);  // 2 - 4 bytes is no data, not a wrap
}

TEST(ModuleArchive, FindersAndKinds) {
  Owned<ModuleArchive> module = s::thread::make<ModuleArchive>();
  const uint8_t byte = 0;
  module->putResource(&byte, 1, 3, 1, 0);            // icon 1
  module->putResource(&byte, 1, u"IDR_XML", 130, 0);
  module->putResource(&byte, 1, 3, 2, 0);            // icon 2
  module->putResource(&byte, 1, 240, 5, 0);          // a type outside the table
  module->getEntry(3)->setName(u"Logo");
  int index = -1;
  EXPECT_TRUE(module->findByTypeTextAndNameNumber(u"IDR_XML", 130, &index));
  EXPECT_EQ(index, 1);
  index = -1;
  EXPECT_FALSE(module->findByTypeTextAndNameNumber(u"idr_xml", 130, &index));
  EXPECT_EQ(index, -1);  // unchanged
  EXPECT_TRUE(module->findNthOfKind(s::archive::dll::kKindIcon, 1, &index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(module->findNthOfKind(s::archive::dll::kKindIcon, 2, &index));
  EXPECT_FALSE(module->findByNameText(u"logo", &index));
  EXPECT_TRUE(module->findByNameTextIgnoreCase(u"LOGO", &index));
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(module->findByKindAndNameTextIgnoreCase(240, u"logo", &index));
  EXPECT_EQ(module->getEntry(3)->getKind(), 240);
  EXPECT_EQ(module->getEntry(3)->getTypeNumber(), 240);
  EXPECT_EQ(s::archive::dll::ResourceKinds::kindOfType(14), 10);
  EXPECT_EQ(s::archive::dll::ResourceKinds::typeOfKind(10), 14);
  MemoryOutputStream out;
  EXPECT_TRUE(module->extractEntry(module->getEntry(1), out));
  EXPECT_EQ(out.data.size(), 1u);
  EXPECT_FALSE(module->open(u"/no/such/module.dll"));
}

}  // namespace
