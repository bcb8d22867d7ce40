// The module archive over the test program itself: its resources are listed, found by
// type text and number, extracted, and its icon group becomes an icon file (which
// the ICO codec reads: tests/image/ico/win/ProgramIconTest_win.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "io/MemoryStreams.h"
#include "s/archive/ProgramResourceIds.h"
#include "s/archive/dll/win/Archive.h"
#include "s/thread/Owned.h"

namespace {

namespace program = s::archive::program;
using s::archive::dll::win::Archive;
using s::thread::Owned;

std::u16string ownPath() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return std::u16string(reinterpret_cast<const char16_t*>(path), length);
}

TEST(ModuleArchive, ReadsTheProgramsOwnResources) {
  Owned<Archive> module = s::thread::make<Archive>();
  ASSERT_TRUE(module->open(ownPath()));
  EXPECT_GT(module->getSourceSize(), 0);
  int index = -1;
  ASSERT_TRUE(module->findByTypeTextAndNameNumber(u"IDR_XML", 930, &index));
  testing_streams::MemoryOutputStream xml;
  ASSERT_TRUE(module->extractEntry(module->getEntry(index), xml));
  EXPECT_EQ(std::string(xml.data.begin(), xml.data.end()), "<texts/>");
  // Type texts compare case-sensitively; the ignore-case finder needs a text name.
  int other = -1;
  EXPECT_FALSE(module->findByTypeTextAndNameNumber(u"idr_xml", 930, &other));
  EXPECT_TRUE(module->findByTypeTextAndNameNumber(program::kPictureType, program::kWidePicture, &other));

  // The program icon: four icon images and their group, with the platform's kinds.
  EXPECT_TRUE(module->findNthOfKind(s::archive::dll::kKindIcon, 3, &other));
  int group = -1;
  ASSERT_TRUE(module->findByKindAndNameNumber(s::archive::dll::kKindGroupIcon, program::kIconGroup, &group));
  EXPECT_EQ(module->getEntry(group)->getTypeNumber(), 14);
  testing_streams::MemoryOutputStream file;
  ASSERT_TRUE(module->extractIconGroup(group, file));
  EXPECT_GT(file.data.size(), 6u + 4 * 16);  // header and four directory entries
  module->close();
  EXPECT_EQ(module->getEntryCount(), 0);
  EXPECT_FALSE(module->open(u"Z:\\no\\such\\module.dll"));
}

}  // namespace
