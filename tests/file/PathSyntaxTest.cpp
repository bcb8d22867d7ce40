#include "s/file/PathSyntax.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"

namespace {

using s::file::PathParts;
using s::file::PathStyle;
using s::file::PathSyntax;
using s::file::testing::narrow;

struct SplitCase {
  PathStyle style;
  const char16_t* text;
  const char16_t* fullPath;
  const char16_t* drive;
  const char16_t* folder;
  const char16_t* title;
  const char16_t* extension;
  bool stream;
};

constexpr PathStyle kWin = PathStyle::kWindows;
constexpr PathStyle kPosix = PathStyle::kPosix;

const SplitCase kSplitCases[] = {
    // Windows: separators of either kind, drives, UNC names, trailing separators.
    {kWin, u"C:/photos/cat.jpg", u"C:\\photos\\cat.jpg", u"C:", u"\\photos\\", u"cat", u".jpg", false},
    {kWin, u"C:\\photos\\", u"C:\\photos", u"C:", u"\\", u"photos", u"", false},
    {kWin, u"C:\\photos\\\\", u"C:\\photos", u"C:", u"\\", u"photos", u"", false},
    {kWin, u"C:\\", u"C:", u"C:", u"", u"", u"", false},
    {kWin, u"C:", u"C:", u"C:", u"", u"", u"", false},
    {kWin, u"C:\\cat.tar.gz", u"C:\\cat.tar.gz", u"C:", u"\\", u"cat.tar", u".gz", false},
    {kWin, u"\\\\server\\share\\a\\b.png", u"\\\\server\\share\\a\\b.png", u"", u"\\\\server\\share\\a\\", u"b", u".png",
     false},
    {kWin, u"//server/share", u"\\\\server\\share", u"", u"\\\\server\\", u"share", u"", false},
    {kWin, u"photos\\cat", u"photos\\cat", u"", u"photos\\", u"cat", u"", false},
    {kWin, u"cat.jpg", u"cat.jpg", u"", u"", u"cat", u".jpg", false},
    {kWin, u".hidden", u".hidden", u"", u"", u"", u".hidden", false},
    {kWin, u"D:\\x.y\\name", u"D:\\x.y\\name", u"D:", u"\\x.y\\", u"name", u"", false},
    {kWin, u"C:\\a\\file.txt:secret", u"C:\\a\\file.txt:secret", u"C:", u"\\a\\", u"file", u".txt:secret", true},
    {kWin, u"C:\\a\\file:secret", u"C:\\a\\file:secret", u"C:", u"\\a\\", u"file:secret", u"", true},
    {kWin, u"C:\\My Photos\\Tom's & Jerry 100%.jpg", u"C:\\My Photos\\Tom's & Jerry 100%.jpg", u"C:", u"\\My Photos\\",
     u"Tom's & Jerry 100%", u".jpg", false},
    {kWin, u"C:\\写真\\猫😺.png", u"C:\\写真\\猫😺.png", u"C:", u"\\写真\\", u"猫😺", u".png", false},
    // POSIX: only "/" separates; "\" and ":" are name characters; the root stays.
    {kPosix, u"/home/u/cat.jpg", u"/home/u/cat.jpg", u"", u"/home/u/", u"cat", u".jpg", false},
    {kPosix, u"/home/u/photos/", u"/home/u/photos", u"", u"/home/u/", u"photos", u"", false},
    {kPosix, u"/", u"/", u"", u"/", u"", u"", false},
    {kPosix, u"//", u"/", u"", u"/", u"", u"", false},
    {kPosix, u"/a\\b.c\\d", u"/a\\b.c\\d", u"", u"/", u"a\\b", u".c\\d", false},
    {kPosix, u"C:\\x.jpg", u"C:\\x.jpg", u"", u"", u"C:\\x", u".jpg", false},
    {kPosix, u"/a/file.txt:secret", u"/a/file.txt:secret", u"", u"/a/", u"file", u".txt:secret", false},
    {kPosix, u"rel/dir/.bashrc", u"rel/dir/.bashrc", u"", u"rel/dir/", u"", u".bashrc", false},
    {kPosix, u"/tmp/Tom's & Jerry 100%.写真😺.jpg", u"/tmp/Tom's & Jerry 100%.写真😺.jpg", u"", u"/tmp/",
     u"Tom's & Jerry 100%.写真😺", u".jpg", false},
};

TEST(PathSyntax, SplitsIntoDriveFolderTitleAndExtension) {
  for (const auto& c : kSplitCases) {
    SCOPED_TRACE(narrow(c.text));
    PathParts parts;
    PathSyntax::split(c.text, c.style, &parts);
    EXPECT_TRUE(parts.valid);
    EXPECT_EQ(parts.fullPath, c.fullPath);
    EXPECT_EQ(parts.drive, c.drive);
    EXPECT_EQ(parts.folder, c.folder);
    EXPECT_EQ(parts.title, c.title);
    EXPECT_EQ(parts.extension, c.extension);
    EXPECT_EQ(parts.stream, c.stream);
  }
}

TEST(PathSyntax, EmptyAndOverlongPartsAreInvalid) {
  PathParts parts;
  PathSyntax::split(u"", kWin, &parts);
  EXPECT_FALSE(parts.valid);
  const std::u16string longTitle(PathSyntax::kMaxPartLength + 1, u'a');
  PathSyntax::split(u"C:\\" + longTitle, kWin, &parts);
  EXPECT_FALSE(parts.valid);
  std::u16string posixPath = longTitle;
  posixPath[0] = u'/';
  PathSyntax::split(posixPath, kPosix, &parts);
  EXPECT_TRUE(parts.valid);
}

struct FormCase {
  PathStyle style;
  const char16_t* text;
  bool unc;
  bool drive;
  bool driveOnly;
  bool absolute;
  const char16_t* server;
};

TEST(PathSyntax, ClassifiesDrivesAndUncNames) {
  const FormCase cases[] = {
      {kWin, u"\\\\server\\share", true, false, false, true, u"server"},
      {kWin, u"//server/share/x", true, false, false, true, u"server"},
      {kWin, u"\\\\\\x", false, false, false, false, u""},
      {kWin, u"\\\\", false, false, false, false, u""},
      {kWin, u"C:", false, true, true, true, u""},
      {kWin, u"C:\\x", false, true, false, true, u""},
      {kWin, u"x\\y", false, false, false, false, u""},
      {kPosix, u"//server/share", false, false, false, true, u""},
      {kPosix, u"C:", false, false, false, false, u""},
      {kPosix, u"/x", false, false, false, true, u""},
      {kPosix, u"x/y", false, false, false, false, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.text));
    EXPECT_EQ(PathSyntax::isUnc(c.text, c.style), c.unc);
    EXPECT_EQ(PathSyntax::hasDrive(c.text, c.style), c.drive);
    EXPECT_EQ(PathSyntax::isDriveOnly(c.text, c.style), c.driveOnly);
    EXPECT_EQ(PathSyntax::isAbsolute(c.text, c.style), c.absolute);
    EXPECT_EQ(PathSyntax::uncServer(c.text, c.style), c.server);
  }
}

TEST(PathSyntax, LongFormFromTwoHundredFiftyCharacters) {
  const std::u16string name(240, u'n');
  const std::u16string drivePath = u"C:\\" + name + u"\\abcdefgh";  // 252 characters
  EXPECT_EQ(PathSyntax::longForm(drivePath, kWin), u"\\\\?\\" + drivePath);
  const std::u16string uncPath = u"\\\\server\\share\\" + name;
  EXPECT_EQ(PathSyntax::longForm(uncPath, kWin), u"\\\\?\\UNC\\server\\share\\" + name);
  const std::u16string shortPath = drivePath.substr(0, 249);
  EXPECT_EQ(PathSyntax::longForm(shortPath, kWin), u"");
  EXPECT_EQ(PathSyntax::longForm(drivePath.substr(0, 250), kWin), u"\\\\?\\" + drivePath.substr(0, 250));
  EXPECT_EQ(PathSyntax::longForm(u"/" + name + u"/" + name, kPosix), u"");
}

struct ResolveCase {
  PathStyle style;
  const char16_t* base;
  const char16_t* text;
  const char16_t* absolute;
};

TEST(PathSyntax, MakeAbsoluteResolvesDotParts) {
  const ResolveCase cases[] = {
      {kWin, u"C:\\photos", u"cat.jpg", u"C:\\photos\\cat.jpg"},
      {kWin, u"C:\\photos\\2020", u"..\\2021/./cat.jpg", u"C:\\photos\\2021\\cat.jpg"},
      {kWin, u"C:\\photos", u"../../../x", u"C:\\x"},
      {kWin, u"C:\\photos", u"D:\\other\\..\\x", u"D:\\x"},
      {kWin, u"C:\\photos", u"\\rooted", u"C:\\rooted"},
      {kWin, u"\\\\srv\\share\\a", u"..\\..\\b", u"\\\\srv\\share\\b"},
      {kPosix, u"/home/u", u"../v/./pic.png", u"/home/v/pic.png"},
      {kPosix, u"/home/u", u"/etc/../tmp", u"/tmp"},
      {kPosix, u"/home/u", u"a\\..\\b", u"/home/u/a\\..\\b"},
      {kPosix, u"/", u"../..", u"/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.text));
    EXPECT_EQ(PathSyntax::makeAbsolute(c.base, c.text, c.style), c.absolute);
  }
}

TEST(PathSyntax, MakeRelativeClimbsToTheCommonFolder) {
  const ResolveCase cases[] = {
      {kWin, u"C:\\photos", u"C:\\photos\\2020\\cat.jpg", u"2020\\cat.jpg"},
      {kWin, u"C:\\Photos", u"c:\\photos\\cat.jpg", u"cat.jpg"},
      {kWin, u"C:\\photos\\a", u"C:\\photos\\b\\cat.jpg", u"..\\b\\cat.jpg"},
      {kWin, u"C:\\photos", u"D:\\cat.jpg", u"D:\\cat.jpg"},
      {kPosix, u"/home/u", u"/home/u/pics/cat.jpg", u"pics/cat.jpg"},
      {kPosix, u"/home/U", u"/home/u/cat.jpg", u"../u/cat.jpg"},
      {kPosix, u"/home/u", u"relative/x", u"relative/x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.text));
    EXPECT_EQ(PathSyntax::makeRelative(c.base, c.text, c.style), c.absolute);
  }
}

TEST(PathSyntax, InsideOnlyAtSeparatorBoundaries) {
  const struct {
    PathStyle style;
    const char16_t* inner;
    const char16_t* outer;
    bool inside;
  } cases[] = {
      {kWin, u"D:\\sub", u"D:\\sub", true},
      {kWin, u"D:\\sub\\x", u"D:\\sub", true},
      {kWin, u"d:\\SUB\\x", u"D:\\sub", true},
      {kWin, u"D:\\subway", u"D:\\sub", false},
      {kWin, u"D:\\su", u"D:\\sub", false},
      {kWin, u"D:\\x", u"D:\\", true},
      {kPosix, u"/a/sub/x", u"/a/sub", true},
      {kPosix, u"/a/subway", u"/a/sub", false},
      {kPosix, u"/a/SUB/x", u"/a/sub", false},
      {kPosix, u"/anything", u"/", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.inner));
    EXPECT_EQ(PathSyntax::isSameOrInside(c.inner, c.outer, c.style), c.inside);
  }
}

}  // namespace
