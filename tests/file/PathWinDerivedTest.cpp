// Derived paths and the less common operations: suffixes, relative and absolute
// texts, wiping, scrambling, size texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/Shell.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"

namespace {

using s::file::kNativeStyle;
using s::file::PathStyle;
using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::FileOutputStream;
using s::file::win::PathWin;
using s::thread::Owned;

std::string contentOf(std::u16string_view path) {
  std::vector<uint8_t> bytes;
  if (!pathOf(path)->readAll(&bytes)) return "<unreadable>";
  return std::string(bytes.begin(), bytes.end());
}

TEST(PathWinDerived, SuffixesGoBeforeTheExtensionOfFilesOnly) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"album.v2")->createDirectory());
  const struct {
    const char16_t* name;
    const char16_t* withSuffix;
    const char16_t* withNameSuffix;
  } cases[] = {
      {u"cat.jpg", u"cat_small.jpg", u"cat_small"},      // a file (missing objects count as files)
      {u"album.v2", u"album.v2_small", u"album_small"},  // a folder keeps its whole name
      {u"noext", u"noext_small", u"noext_small"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(s::file::testing::narrow(c.name));
    auto path = pathOf(temp / c.name);
    Owned<PathWin> suffixed(path->withSuffix(u"_small"));
    EXPECT_EQ(suffixed->getFullPath(), temp / c.withSuffix);
    Owned<PathWin> named(path->withNameSuffix(u"_small"));
    EXPECT_EQ(named->getFullPath(), temp / c.withNameSuffix);
  }
}

TEST(PathWinDerived, RelativeAndAbsoluteAgainstTheFolder) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  auto file = pathOf(temp / u"a/b/page.html");
  Owned<PathWin::Text> absolute(file->makeAbsolute(u"../img/cat.jpg", false));
  EXPECT_EQ(*absolute, temp / u"a/img/cat.jpg");
  Owned<PathWin::Text> relative(file->makeRelative(temp / u"a/img/cat.jpg", false));
  EXPECT_EQ(*relative, kNativeStyle == PathStyle::kWindows ? u"..\\img\\cat.jpg" : u"../img/cat.jpg");
  // As a folder, the path itself is the base.
  Owned<PathWin::Text> inside(file->makeRelative(temp / u"a/b/page.html/x", true));
  EXPECT_EQ(*inside, u"x");
}

TEST(PathWinDerived, WipeZeroesContentAndKeepsTheSize) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"w/secret.txt")->writeAll("secret", 6));
  ASSERT_TRUE(pathOf(temp / u"w/sub/more.txt")->writeAll("more", 4));
  EXPECT_TRUE(pathOf(temp / u"w")->wipe());
  EXPECT_EQ(contentOf(temp / u"w/secret.txt"), std::string(6, '\0'));
  EXPECT_EQ(contentOf(temp / u"w/sub/more.txt"), std::string(4, '\0'));
  EXPECT_FALSE(pathOf(temp / u"w/missing.txt")->wipe());
  EXPECT_FALSE(pathOf(temp / u"w/missing.txt")->exists());  // wiping creates nothing
}

TEST(PathWinDerived, ScrambleRenamesAndKeepsContent) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"name.txt")->writeAll("body", 4));
  auto path = pathOf(temp / u"name.txt");
  EXPECT_TRUE(path->scrambleName(3));
  EXPECT_NE(path->getFileName(), u"name.txt");
  EXPECT_EQ(contentOf(path->getFullPath().view()), "body");
  EXPECT_EQ(s::file::testing::namesIn(temp.path()).size(), 1u);
}

TEST(PathWinDerived, OutputStreamPositionsStayConsistent) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string name = temp / u"s.bin";
  Owned<FileOutputStream> out(pathOf(name)->openOutput());
  ASSERT_TRUE(out->write("abcdef", 6, nullptr));
  // Bytes still in the buffer are written before a read, so the read neither misses
  // them nor moves the place where the next write lands.
  out->rewind();
  char two[2];
  size_t got = 0;
  ASSERT_TRUE(out->asInput()->read(two, 2, &got));
  EXPECT_EQ(std::string(two, got), "ab");
  ASSERT_TRUE(out->write("XY", 2, nullptr));
  EXPECT_TRUE(out->skipBack(1));
  ASSERT_TRUE(out->write("Z", 1, nullptr));
  EXPECT_TRUE(out->seekFromEnd(1));
  ASSERT_TRUE(out->write("!", 1, nullptr));
  EXPECT_EQ(out->getPosition(), 6);
  // Released streams close (and flush) on their way back to the pool.
  out.reset();
  EXPECT_EQ(contentOf(name), "abXZe!");
  FileOutputStream* again = FileOutputStream::create();
  EXPECT_FALSE(again->isOpen());
  EXPECT_TRUE(again->closeAndRelease());  // never asked to open: nothing was lost
}

TEST(PathWinDerived, SizeOnDiskRoundsUpToClusters) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"one.bin")->writeAll("1", 1));
  ASSERT_TRUE(pathOf(temp / u"empty.bin")->writeAll("", 0));
  const int64_t cluster = pathOf(temp / u"one.bin")->getSizeOnDisk();
  EXPECT_GE(cluster, 512);
  EXPECT_EQ(cluster % 512, 0);
  EXPECT_EQ(pathOf(temp / u"empty.bin")->getSizeOnDisk(), 0);
}

TEST(PathWinDerived, SizeTextsUseTheLargestFittingUnit) {
  const struct {
    int64_t size;
    const char16_t* text;
  } cases[] = {
      {0, u"0 bytes"},          {1023, u"1023 bytes"},     {1024, u"1.00 KB"},
      {1536, u"1.50 KB"},       {10239, u"9.99 KB"},       {102400, u"100 KB"},
      {1048576, u"1.00 MB"},    {5368709120, u"5.00 GB"},
  };
  for (const auto& c : cases) {
    // The Windows shell writes its own (localised) texts; POSIX follows its forms.
    if (kNativeStyle == PathStyle::kWindows) {
      EXPECT_FALSE(s::file::Shell::sizeText(c.size).empty()) << c.size;
    } else {
      EXPECT_EQ(s::file::Shell::sizeText(c.size), c.text) << c.size;
    }
  }
}

}  // namespace
