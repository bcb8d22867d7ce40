// Failures only POSIX can stage: a full device, a file system that refuses creation,
// and names that are not UTF-8.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/NameCodec.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathArray.h"
#include "s/file/win/PathWin.h"

namespace {

using s::file::NameCodec;
using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::FileOutputStream;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::thread::Owned;

std::string bytesOf(std::u16string_view text) {
  std::string bytes;
  EXPECT_TRUE(NameCodec::encode(text, &bytes));
  return bytes;
}

TEST(FileStreamPosix, FullDiskIsReportedByWriteFlushAndClose) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  Owned<FileOutputStream> out(FileOutputStream::create());
  ASSERT_TRUE(out->open(u"/dev/full", true));
  const std::vector<uint8_t> bytes(3 * 65536, 7);
  size_t written = 0;
  // The first buffer-full fits; writing it out fails.
  EXPECT_FALSE(out->write(bytes.data(), bytes.size(), &written));
  EXPECT_LT(written, bytes.size());
  EXPECT_FALSE(out->write("x", 1, nullptr));
  EXPECT_FALSE(out->close());
  // A small write fails at flush and close.
  ASSERT_TRUE(out->open(u"/dev/full", true));
  EXPECT_TRUE(out->write("x", 1, nullptr));
  EXPECT_FALSE(out->flush());
  EXPECT_FALSE(out->close());
}

TEST(FileStreamPosix, ReadOnlyLocationsRefuseWrites) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  // Without root a folder without write permission refuses new files; root ignores
  // permissions, but nobody can create files in /proc.
  std::u16string target = u"/proc/pictorva-no-such/file.bin";
  if (geteuid() != 0) {
    ASSERT_TRUE(pathOf(temp / u"locked")->createDirectory());
    ASSERT_EQ(chmod(bytesOf(temp / u"locked").c_str(), 0555), 0);
    target = temp / u"locked/file.bin";
  }
  EXPECT_FALSE(pathOf(target)->writeAll("x", 1));
  ASSERT_TRUE(pathOf(temp / u"source.bin")->writeAll("abc", 3));
  EXPECT_FALSE(pathOf(temp / u"source.bin")->copyTo(target, true));
  EXPECT_FALSE(pathOf(target)->createDirectory());
  if (geteuid() != 0) chmod(bytesOf(temp / u"locked").c_str(), 0755);
}

TEST(PathWinPosix, NonUtf8NamesListOpenAndRoundTrip) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::string folder = bytesOf(temp.path());
  const std::string rawName = "latin1 caf\xE9 \xFF.jpg";  // not UTF-8
  const std::string rawPath = folder + "/" + rawName;
  const int fd = ::open(rawPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "pixels", 6), 6);
  ::close(fd);

  Owned<PathArray> list(PathArray::create());
  ASSERT_TRUE(pathOf(temp.path())->listFileArray(true, false, list.get()));
  ASSERT_EQ(list->getCount(), 1);
  auto* found = static_cast<PathWin*>(list->get(0));
  EXPECT_EQ(found->getExtension(), u".jpg");
  EXPECT_TRUE(found->isFile());
  EXPECT_EQ(found->getSize(), 6);
  std::vector<uint8_t> content;
  ASSERT_TRUE(found->readAll(&content));
  EXPECT_EQ(std::string(content.begin(), content.end()), "pixels");
  // The name maps back to the very bytes on disk.
  EXPECT_EQ(bytesOf(found->getFileName().view()), rawName);
  // Copies and variants keep the undecodable bytes.
  ASSERT_TRUE(found->copyTo(temp / u"img/" + std::u16string(found->getFileName().view()), false));
  struct stat info;
  EXPECT_EQ(::stat((folder + "/img/" + rawName).c_str(), &info), 0);
  Owned<PathWin> variant(found->uniqueVariant());
  EXPECT_EQ(bytesOf(variant->getFileName().view()), "latin1 caf\xE9 \xFF (1).jpg");
  // A text that only looks like the escaped name, but spells another file, opens nothing.
  Owned<PathWin> repaired(PathWin::fromText(temp / u"latin1 caf\u00E9 \uFFFD.jpg"));
  EXPECT_FALSE(repaired->exists());
  EXPECT_TRUE(found->remove());
  EXPECT_FALSE(found->exists());
}

TEST(PathWinPosix, SymbolicLinksAreListedButNotFollowed) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"D/x.txt")->writeAll("x", 1));
  // D/loop points back at D: following it would recurse without end.
  ASSERT_EQ(symlink(bytesOf(temp / u"D").c_str(), bytesOf(temp / u"D/loop").c_str()), 0);
  Owned<PathArray> list(PathArray::create());
  ASSERT_TRUE(pathOf(temp / u"D")->listPathArray(false, true, list.get()));
  EXPECT_EQ(list->getCount(), 2);
  EXPECT_EQ(pathOf(temp / u"D")->getSize(true, true), 1);
  // Copying D copies the link as a link.
  ASSERT_TRUE(pathOf(temp / u"D")->copyTo(temp / u"E", false));
  struct stat info;
  ASSERT_EQ(lstat(bytesOf(temp / u"E/loop").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  // A target reached through a link into the source is still inside it.
  EXPECT_FALSE(pathOf(temp / u"D")->copyTo(temp / u"D/loop/inner", false));
  // Deleting removes the link, not what it points to.
  ASSERT_EQ(symlink(bytesOf(temp / u"D").c_str(), bytesOf(temp / u"F").c_str()), 0);
  EXPECT_TRUE(pathOf(temp / u"F")->remove());
  EXPECT_TRUE(pathOf(temp / u"D/x.txt")->exists());
  // Hidden names are listed on POSIX.
  ASSERT_TRUE(pathOf(temp / u"D/.hidden")->writeAll("h", 1));
  EXPECT_TRUE(pathOf(temp / u"D/.hidden")->isHidden());
  Owned<s::str::strarray::StrArray> names(s::str::strarray::StrArray::create());
  ASSERT_TRUE(pathOf(temp / u"D")->listFileNames(false, names.get()));
  EXPECT_EQ(s::file::testing::sortedNames(*names), (std::vector<std::u16string>{u".hidden", u"x.txt"}));
}

TEST(PathWinPosix, WindowsOnlyServicesAnswerFailure) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"f.txt")->writeAll("f", 1));
  auto path = pathOf(temp / u"f.txt");
  EXPECT_FALSE(path->recycle());
  EXPECT_FALSE(path->deleteAtRestart());
  EXPECT_FALSE(path->createShortcut(temp / u"link", false));
  EXPECT_TRUE(path->getTypeName().isEmpty());
  Owned<PathArray> streams(PathArray::create());
  EXPECT_FALSE(path->listStreams(streams.get()));
  EXPECT_FALSE(path->isNtfs());
  EXPECT_TRUE(path->exists());
}

}  // namespace
