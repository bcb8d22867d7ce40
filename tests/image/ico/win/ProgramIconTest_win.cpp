// The program icon as the test program carries it: its icon group, extracted from the
// module as an icon file, reads as four 32-bit pictures of 16, 32, 48 and 256 pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "io/MemoryStreams.h"
#include "s/archive/ProgramResourceIds.h"
#include "s/archive/dll/win/Archive.h"
#include "s/image/ico/win/Icon.h"
#include "s/thread/Owned.h"

namespace {

namespace program = s::archive::program;
using s::archive::dll::win::Archive;
using s::thread::Owned;

TEST(ProgramIcon, TheIconGroupReadsAsFourPictures) {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  Owned<Archive> module = s::thread::make<Archive>();
  ASSERT_TRUE(module->open(std::u16string(reinterpret_cast<const char16_t*>(path), length)));
  int group = -1;
  ASSERT_TRUE(module->findByKindAndNameNumber(s::archive::dll::kKindGroupIcon, program::kIconGroup, &group));
  testing_streams::MemoryOutputStream file;
  ASSERT_TRUE(module->extractIconGroup(group, file));
  testing_streams::MemoryInputStream in(file.data);
  Owned<s::image::ico::win::Icon> icon(s::image::ico::win::Icon::create());
  ASSERT_TRUE(icon->read(in));
  ASSERT_EQ(icon->getImageCount(), 4);
  for (const int side : {16, 32, 48, 256}) {
    int found = -1;
    EXPECT_TRUE(icon->findExactImage(side, side, 32, &found)) << side;
  }
}

}  // namespace
