// Paths past MAX_PATH go to Win32 in their "\\?\" form.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/win/PathArray.h"
#include "s/file/win/PathWin.h"

namespace {

using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::thread::Owned;

TEST(PathWinLong, CreateWriteReadAndListPastMaxPath) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  // Three folders of 100 characters: well past 260.
  const std::u16string part(100, u'x');
  const std::u16string folder = temp / (part + u"/" + part + u"/" + part);
  const std::u16string file = folder + u"\\picture 写真.jpg";
  ASSERT_GT(file.size(), 260u);
  auto path = pathOf(file);
  EXPECT_EQ(path->getLongPath(), u"\\\\?\\" + file);
  ASSERT_TRUE(path->writeAll("long", 4));  // creates the missing folders too
  EXPECT_TRUE(pathOf(file)->isFile());
  EXPECT_EQ(pathOf(file)->getSize(), 4);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(pathOf(file)->readAll(&bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "long");
  Owned<PathArray> list(PathArray::create());
  ASSERT_TRUE(pathOf(folder)->listFileArray(true, false, list.get()));
  ASSERT_EQ(list->getCount(), 1);
  EXPECT_EQ(list->get(0)->getFullPath(), file);
  ASSERT_TRUE(pathOf(file)->copyTo(folder + u"\\copy.jpg", false));
  Owned<PathWin> variant(pathOf(file)->uniqueVariant());
  EXPECT_EQ(variant->getFileName(), u"picture 写真 (1).jpg");
  EXPECT_TRUE(pathOf(temp / part)->remove());
  EXPECT_FALSE(pathOf(file)->exists());
}

TEST(PathWinLong, DriveFormsAndStreams) {
  // "C:" alone names the root for the platform, not the drive's current folder.
  EXPECT_TRUE(pathOf(u"C:")->isDirectory());
  EXPECT_TRUE(pathOf(u"C:\\")->isDriveOnly());
  EXPECT_EQ(pathOf(u"C:\\x\\y")->getVolumeRoot(), u"C:\\");
  auto stream = pathOf(u"C:\\dir\\file.txt:meta");
  EXPECT_TRUE(stream->isStream());
  EXPECT_EQ(stream->getCreationTime(), 0);
}

TEST(PathWinLong, ReadOnlyFilesRefuseWritesAndCopies) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string file = temp / u"locked.txt";
  ASSERT_TRUE(pathOf(file)->writeAll("keep", 4));
  ASSERT_TRUE(pathOf(file)->setReadOnly());
  // Wine run by root passes the read-only bit on to file modes that root ignores; a
  // location where nobody can create files stands in for it there.
  if (pathOf(file)->writeAll("keep", 4)) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) GTEST_SKIP() << "read-only not enforced";
    const std::u16string unwritable = u"Z:\\proc\\pictorva-no-such\\file.bin";
    EXPECT_FALSE(pathOf(unwritable)->writeAll("x", 1));
    EXPECT_FALSE(pathOf(file)->copyTo(unwritable, true));
    return;
  }
  ASSERT_TRUE(pathOf(temp / u"other.txt")->writeAll("new", 3));
  EXPECT_FALSE(pathOf(temp / u"other.txt")->copyTo(file, true));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(pathOf(file)->readAll(&bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "keep");
  EXPECT_TRUE(pathOf(file)->remove());  // deletion clears the read-only bit first
}

TEST(PathWinLong, NamesWindowsRefusesFailToWrite) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"source.txt")->writeAll("abc", 3));
  for (const char16_t* name : {u"a<b.txt", u"a|b.txt", u"what?.txt"}) {
    EXPECT_FALSE(pathOf(temp / name)->writeAll("x", 1));
    EXPECT_FALSE(pathOf(temp / u"source.txt")->copyTo(temp / name, true));
  }
  EXPECT_EQ(s::file::testing::namesIn(temp.path()), std::vector<std::u16string>{u"source.txt"});
}

}  // namespace
