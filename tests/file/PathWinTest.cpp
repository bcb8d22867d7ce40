#include "s/file/win/PathWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/win/PathArray.h"

namespace {

using s::file::kNativeStyle;
using s::file::PathStyle;
using s::file::testing::narrow;
using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::thread::Owned;

bool writeFile(const std::u16string& path, const std::string& content) {
  return pathOf(path)->writeAll(content.data(), content.size());
}

std::string readFile(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  if (!pathOf(path)->readAll(&bytes)) return "<unreadable>";
  return std::string(bytes.begin(), bytes.end());
}

TEST(PathWin, NativeSplittingThroughSet) {
  if (kNativeStyle == PathStyle::kWindows) {
    auto path = pathOf(u"C:/photos/cat.jpg");
    EXPECT_EQ(path->getFullPath(), u"C:\\photos\\cat.jpg");
    EXPECT_EQ(path->getFolder(), u"C:\\photos\\");
    EXPECT_EQ(path->getFolderTrimmed(), u"C:\\photos");
    EXPECT_EQ(path->getFileName(), u"cat.jpg");
    EXPECT_EQ(path->getExtensionNoDot(), u"jpg");
    EXPECT_TRUE(path->hasDrive());
    EXPECT_TRUE(path->isAbsolute());
    EXPECT_TRUE(path->isSameVolume(u"c:\\other"));
    EXPECT_FALSE(path->isSameVolume(u"D:\\other"));
    Owned<PathWin> parent(path->parent());
    EXPECT_EQ(parent->getFullPath(), u"C:\\photos");
    Owned<PathWin> child(parent->child(u"dog.png"));
    EXPECT_EQ(child->getFullPath(), u"C:\\photos\\dog.png");
    EXPECT_TRUE(pathOf(u"C:\\")->isDriveOnly());
    EXPECT_EQ(Owned<PathWin>(pathOf(u"C:\\")->getParentOrNone()).get(), nullptr);
    EXPECT_EQ(pathOf(u"\\\\server\\share\\x\\y.jpg")->getVolumeRoot(), u"\\\\server\\share\\");
    EXPECT_TRUE(pathOf(u"\\\\server\\share\\x")->isSameVolume(u"//SERVER/other"));
  } else {
    auto path = pathOf(u"/photos/a\\b/cat.jpg");
    EXPECT_EQ(path->getFullPath(), u"/photos/a\\b/cat.jpg");
    EXPECT_EQ(path->getFolder(), u"/photos/a\\b/");
    EXPECT_EQ(path->getFileName(), u"cat.jpg");
    EXPECT_FALSE(path->hasDrive());
    EXPECT_FALSE(path->isDriveOnly());
    EXPECT_FALSE(path->isUnc());
    EXPECT_TRUE(path->isAbsolute());
    EXPECT_EQ(path->getVolumeRoot(), u"/");
    EXPECT_EQ(pathOf(u"/")->getFullPath(), u"/");
    Owned<PathWin> child(pathOf(u"/")->child(u"tmp"));
    EXPECT_EQ(child->getFullPath(), u"/tmp");
    EXPECT_EQ(Owned<PathWin>(pathOf(u"/")->getParentOrNone()).get(), nullptr);
    EXPECT_TRUE(pathOf(u"C:")->isValid());
    EXPECT_FALSE(pathOf(u"C:")->isDriveOnly());
  }
  EXPECT_EQ(pathOf(u"")->isValid(), false);
  EXPECT_FALSE(pathOf(u"")->exists());
  EXPECT_TRUE(pathOf(u"x.JPG")->extensionEquals(u".jpg"));
}

TEST(PathWin, DumpLabelsEveryPart) {
  // Without a target the path hands over a new text.
  Owned<PathWin::Text> text(pathOf(u"cat.jpg")->dump(nullptr));
  EXPECT_TRUE(text->find(u"Original String: cat.jpg\n"));
  EXPECT_TRUE(text->find(u"FileTitle: cat\n"));
  EXPECT_TRUE(text->find(u"Ext: .jpg\n"));
  // With one it fills it, appending when asked.
  PathWin::Text target(u"name: ");
  auto path = pathOf(u"dir/cat.jpg");
  EXPECT_EQ(path->getFileName(&target, true), &target);
  EXPECT_EQ(target, u"name: cat.jpg");
  path->getExtensionNoDot(&target);
  EXPECT_EQ(target, u"jpg");
}

TEST(PathWin, MissingObjectsAreNeitherFilesNorFolders) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  auto missing = pathOf(temp / u"missing.jpg");
  EXPECT_FALSE(missing->exists());
  EXPECT_FALSE(missing->isFile());
  EXPECT_FALSE(missing->isDirectory());
  EXPECT_EQ(missing->getSize(), 0);
  EXPECT_EQ(missing->getWriteTime(), 0);
  EXPECT_TRUE(missing->remove());  // a missing object counts as deleted
}

// Names that have broken naive quoting and encoding.
const char16_t* const kAwkwardNames[] = {
    u"with space.jpg", u"Tom's.jpg", u"salt & pepper.png", u"100% real.gif", u"写真.bmp", u"猫😺.ico",
    u"mixed 写真 & 100%'s 😺.jpeg",
};

TEST(PathWin, AwkwardNamesCreateWriteListAndRead) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  for (const char16_t* name : kAwkwardNames) {
    SCOPED_TRACE(narrow(name));
    const std::u16string text = temp / name;
    ASSERT_TRUE(writeFile(text, "content"));
    auto path = pathOf(text);
    EXPECT_TRUE(path->isFile());
    EXPECT_EQ(path->getSize(), 7);
    EXPECT_EQ(path->getFileName(), name);
    EXPECT_EQ(readFile(text), "content");
  }
  const auto names = s::file::testing::namesIn(temp.path(), s::file::testing::Listed::kFiles);
  std::vector<std::u16string> expected(std::begin(kAwkwardNames), std::end(kAwkwardNames));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

TEST(PathWin, UniqueVariantNumbersFoldersAndFiles) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string gallery = temp / u"thumbnail";
  Owned<PathWin> first(pathOf(gallery)->uniqueVariant());
  EXPECT_EQ(first->getFullPath(), gallery);  // free: the path itself
  ASSERT_TRUE(pathOf(gallery)->createDirectory());
  ASSERT_TRUE(pathOf(temp / u"thumbnail (1)")->createDirectory());
  Owned<PathWin> folder(pathOf(gallery)->uniqueVariant());
  EXPECT_EQ(folder->getFullPath(), temp / u"thumbnail (2)");
  Owned<PathWin> numbered(pathOf(gallery)->uniqueNumbered());
  EXPECT_EQ(numbered->getFullPath(), temp / u"thumbnail1");

  ASSERT_TRUE(writeFile(temp / u"cat.jpg", "x"));
  Owned<PathWin> file(pathOf(temp / u"cat.jpg")->uniqueVariant());
  EXPECT_EQ(file->getFullPath(), temp / u"cat (1).jpg");
  // A folder with a dot keeps its whole name before the number.
  ASSERT_TRUE(pathOf(temp / u"v1.2")->createDirectory());
  Owned<PathWin> dotted(pathOf(temp / u"v1.2")->uniqueVariant());
  EXPECT_EQ(dotted->getFullPath(), temp / u"v1.2 (1)");
}

TEST(PathWin, CreateDirectoryMakesMissingParentsAndRefusesExisting) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string deep = temp / u"a/b b/c&d/写真";
  auto path = pathOf(deep);
  EXPECT_TRUE(path->createDirectory());
  EXPECT_TRUE(path->isDirectory());
  EXPECT_FALSE(pathOf(deep)->createDirectory());  // it exists already
  EXPECT_TRUE(pathOf(deep)->isEmptyDirectory());
  auto file = pathOf(temp / u"x/y/new.txt");
  EXPECT_TRUE(file->createFile());
  EXPECT_TRUE(file->isFile());
  EXPECT_FALSE(pathOf(temp / u"x/y/new.txt")->createFile());
  // Output streams create their folders too.
  EXPECT_TRUE(writeFile(temp / u"p/q/r.bin", "abc"));
  EXPECT_EQ(readFile(temp / u"p/q/r.bin"), "abc");
}

TEST(PathWin, CopyFileOverwritesOnlyWhenAsked) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"src.jpg", "new content"));
  ASSERT_TRUE(writeFile(temp / u"dst.jpg", "old"));
  auto source = pathOf(temp / u"src.jpg");
  EXPECT_FALSE(source->copyTo(temp / u"dst.jpg", false));
  EXPECT_EQ(readFile(temp / u"dst.jpg"), "old");
  EXPECT_TRUE(source->copyTo(temp / u"dst.jpg", true));
  EXPECT_EQ(readFile(temp / u"dst.jpg"), "new content");
  // Missing target folders are created.
  EXPECT_TRUE(source->copyTo(temp / u"img/deeper/src.jpg", false));
  EXPECT_EQ(readFile(temp / u"img/deeper/src.jpg"), "new content");
  // No temporary file is left behind.
  EXPECT_EQ(s::file::testing::namesIn(temp.path()), (std::vector<std::u16string>{u"dst.jpg", u"img", u"src.jpg"}));
}

TEST(PathWin, CopyFileOntoAFolderFailsAndKeepsTheFolder) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"a.jpg", "a"));
  ASSERT_TRUE(pathOf(temp / u"folder")->createDirectory());
  ASSERT_TRUE(writeFile(temp / u"folder/inner.txt", "i"));
  EXPECT_FALSE(pathOf(temp / u"a.jpg")->copyTo(temp / u"folder", true));
  EXPECT_EQ(readFile(temp / u"folder/inner.txt"), "i");
  EXPECT_FALSE(pathOf(temp / u"missing.jpg")->copyTo(temp / u"b.jpg", true));
}

TEST(PathWin, CopyFolderRecursesAndRefusesItsOwnInside) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"D/one.txt", "1"));
  ASSERT_TRUE(writeFile(temp / u"D/sub/two.txt", "22"));
  auto source = pathOf(temp / u"D");
  EXPECT_FALSE(source->copyTo(temp / u"D/sub/copy", false));
  EXPECT_FALSE(pathOf(temp / u"D/sub/copy")->exists());
  EXPECT_FALSE(source->copyTo(temp / u"D", true));
  // "Dway" beside "D" is not inside it.
  EXPECT_TRUE(source->copyTo(temp / u"Dway", false));
  EXPECT_EQ(readFile(temp / u"Dway/sub/two.txt"), "22");
  EXPECT_FALSE(source->copyTo(temp / u"Dway", false));  // exists, no overwrite
  ASSERT_TRUE(writeFile(temp / u"D/one.txt", "changed"));
  EXPECT_TRUE(source->copyTo(temp / u"Dway", true));
  EXPECT_EQ(readFile(temp / u"Dway/one.txt"), "changed");
  int64_t files = 0;
  int64_t folders = 0;
  EXPECT_EQ(pathOf(temp / u"Dway")->getSize(true, true, &files, &folders), 9);
  EXPECT_EQ(files, 2);
  EXPECT_EQ(folders, 1);
}

TEST(PathWin, MoveRenameAndDelete) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"a.txt", "a"));
  ASSERT_TRUE(writeFile(temp / u"b.txt", "b"));
  EXPECT_FALSE(pathOf(temp / u"a.txt")->moveTo(temp / u"b.txt", false));
  EXPECT_TRUE(pathOf(temp / u"a.txt")->moveTo(temp / u"b.txt", true));
  EXPECT_EQ(readFile(temp / u"b.txt"), "a");
  EXPECT_FALSE(pathOf(temp / u"a.txt")->exists());
  auto renamed = pathOf(temp / u"b.txt");
  EXPECT_TRUE(renamed->rename(u"c 😺.txt"));
  EXPECT_EQ(renamed->getFullPath(), temp / u"c 😺.txt");
  EXPECT_TRUE(renamed->exists());
  ASSERT_TRUE(writeFile(temp / u"tree/x/y.txt", "y"));
  ASSERT_TRUE(pathOf(temp / u"tree/x/y.txt")->setReadOnly());
  EXPECT_TRUE(pathOf(temp / u"tree")->remove());
  EXPECT_FALSE(pathOf(temp / u"tree")->exists());
}

TEST(PathWin, ListingRecursesIntoFolders) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"a.jpg", "a"));
  ASSERT_TRUE(writeFile(temp / u"sub/b.png", "b"));
  ASSERT_TRUE(writeFile(temp / u"sub/deeper/c.gif", "c"));
  Owned<PathArray> all(PathArray::create());
  ASSERT_TRUE(pathOf(temp.path())->listPathArray(true, true, all.get()));
  EXPECT_EQ(all->getCount(), 5);
  // A folder's entries follow it directly.
  const int sub = all->findText(temp / u"sub");
  ASSERT_GE(sub, 0);
  EXPECT_EQ(all->get(sub + 1)->getFolderTrimmed(), temp / u"sub");
  Owned<PathArray> files(PathArray::create());
  ASSERT_TRUE(pathOf(temp.path())->listFileArray(true, true, files.get()));
  EXPECT_EQ(files->getCount(), 3);
  files->sortAscending();
  EXPECT_EQ(files->get(0)->getFileName(), u"a.jpg");
  files->groupByExtension();
  EXPECT_EQ(files->get(0)->getExtension(), u".gif");
  EXPECT_EQ(files->join().size(), files->get(0)->getLength() + files->get(1)->getLength() +
                                      files->get(2)->getLength() + 4);
  EXPECT_TRUE(pathOf(temp.path())->hasChildren(true));
  EXPECT_FALSE(pathOf(temp / u"a.jpg")->hasChildren(true));
  Owned<s::str::strarray::StrArray> extensions(s::str::strarray::StrArray::create());
  extensions->appendCopy(u".PNG");
  EXPECT_EQ(pathOf(temp / u"sub/b.png")->getIndexInFolder(extensions.get(), true), 0);
  EXPECT_EQ(pathOf(temp / u"sub/b.png")->getIndexInFolder(nullptr, true), 0);
  EXPECT_EQ(pathOf(temp / u"sub/missing.png")->getIndexInFolder(nullptr, true), -1);
  // A folder that cannot be enumerated gives nothing.
  Owned<PathArray> none(PathArray::create());
  EXPECT_FALSE(pathOf(temp / u"missing")->listPathArray(true, true, none.get()));
  EXPECT_EQ(none->getCount(), 0);
}

TEST(PathWin, TimesAndAttributes) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(writeFile(temp / u"t.txt", "t"));
  auto path = pathOf(temp / u"t.txt");
  // 2001-09-09 01:46:40 UTC as 100-ns intervals since 1601.
  const int64_t when = 126444736000000000LL;
  EXPECT_TRUE(path->setTimes(0, when, when));
  EXPECT_EQ(path->getWriteTime(true), when);
  EXPECT_GT(path->getCreationTime(), 0);
  EXPECT_TRUE(path->setReadOnly());
  EXPECT_TRUE(pathOf(temp / u"t.txt")->isReadOnly());
  EXPECT_TRUE(path->clearReadOnly());
  EXPECT_FALSE(pathOf(temp / u"t.txt")->isReadOnly());
  EXPECT_GE(path->getSizeOnDisk(), 1);
  EXPECT_FALSE(path->getSizeText().isEmpty());
}

TEST(PathWin, TextsAndInternetShortcuts) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  auto text = pathOf(temp / u"page.html");
  ASSERT_TRUE(text->writeText(u"é😺"));
  EXPECT_EQ(readFile(temp / u"page.html"), "\xC3\xA9\xF0\x9F\x98\xBA");
  ASSERT_TRUE(text->writeText(u"!", true));
  EXPECT_EQ(readFile(temp / u"page.html"), "\xC3\xA9\xF0\x9F\x98\xBA!");
  auto link = pathOf(temp / u"site.url");
  ASSERT_TRUE(link->createInternetShortcut(u"https://example.com/a?b=c", false));
  EXPECT_EQ(pathOf(temp / u"site.url")->getUrl(), u"https://example.com/a?b=c");
  EXPECT_TRUE(pathOf(temp / u"site.url")->isInternetShortcut());
}

TEST(PathWin, PoolHandsOutResetPaths) {
  PathWin* path = PathWin::create();
  path->set(u"abc.def");
  path->release();
  Owned<PathWin> again(PathWin::create());
  EXPECT_FALSE(again->isValid());
  EXPECT_TRUE(again->getFullPath().isEmpty());
  EXPECT_EQ(std::u16string(again->getRegistrationName()), u"s_file_win_PathWin");
}

}  // namespace
