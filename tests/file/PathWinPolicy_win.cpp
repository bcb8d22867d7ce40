// The Explorer's "Hidden" and "ShowSuperHidden" settings decide what listings show.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/FileSystem.h"
#include "s/file/win/PathWin.h"
#include "s/str/strarray/StrArray.h"

namespace {

using s::file::testing::pathOf;
using s::file::testing::sortedNames;
using s::file::testing::TempFolder;
using s::thread::Owned;

constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Sets the two values for one test and puts back what was there.
class ExplorerSettings {
 public:
  ExplorerSettings(DWORD hidden, DWORD showSuperHidden) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    save(L"Hidden", &hadHidden_, &oldHidden_);
    save(L"ShowSuperHidden", &hadSuper_, &oldSuper_);
    ok_ = put(L"Hidden", hidden) && put(L"ShowSuperHidden", showSuperHidden);
  }
  ~ExplorerSettings() {
    if (!key_) return;
    restore(L"Hidden", hadHidden_, oldHidden_);
    restore(L"ShowSuperHidden", hadSuper_, oldSuper_);
    RegCloseKey(key_);
  }
  bool ok() const { return ok_; }

 private:
  void save(const wchar_t* name, bool* had, DWORD* value) {
    DWORD size = sizeof *value;
    *had = RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
  }
  bool put(const wchar_t* name, DWORD value) {
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
  }
  void restore(const wchar_t* name, bool had, DWORD value) {
    if (had) {
      put(name, value);
    } else {
      RegDeleteValueW(key_, name);
    }
  }

  HKEY key_ = nullptr;
  bool ok_ = false;
  bool hadHidden_ = false;
  bool hadSuper_ = false;
  DWORD oldHidden_ = 0;
  DWORD oldSuper_ = 0;
};

std::vector<std::u16string> listed(const std::u16string& folder, bool ignorePolicy) {
  Owned<s::str::strarray::StrArray> names(s::str::strarray::StrArray::create());
  pathOf(folder)->listNames(ignorePolicy, names.get());
  return sortedNames(*names);
}

TEST(PathWinPolicy, HiddenAndSystemEntriesFollowTheExplorerSettings) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"shown.txt")->writeAll("s", 1));
  ASSERT_TRUE(pathOf(temp / u"hidden.txt")->writeAll("h", 1));
  ASSERT_TRUE(pathOf(temp / u"system.txt")->writeAll("y", 1));
  ASSERT_TRUE(pathOf(temp / u"hidden.txt")->hide());
  ASSERT_TRUE(pathOf(temp / u"system.txt")->addAttributes(s::file::kAttributeSystem));
  if (!pathOf(temp / u"hidden.txt")->isHidden() || !pathOf(temp / u"system.txt")->isSystem()) {
    GTEST_SKIP() << "the file system keeps no hidden or system bits here";
  }
  const std::vector<std::u16string> all = {u"hidden.txt", u"shown.txt", u"system.txt"};
  {
    ExplorerSettings settings(2, 0);  // hide hidden and system entries
    ASSERT_TRUE(settings.ok());
    EXPECT_EQ(listed(temp.path(), false), std::vector<std::u16string>{u"shown.txt"});
    EXPECT_EQ(listed(temp.path(), true), all);  // the policy ignored
  }
  {
    ExplorerSettings settings(1, 1);  // show everything
    ASSERT_TRUE(settings.ok());
    EXPECT_EQ(listed(temp.path(), false), all);
  }
}

TEST(PathWinPolicy, BootFilesOfTheSystemVolumeHideWithHiddenEntries) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  auto folder = pathOf(temp.path());
  const std::u16string systemFolder = s::file::FileSystem::systemFolder();
  if (systemFolder.size() < 2 || folder->getVolumeRoot().view() != systemFolder.substr(0, 2) + u"\\") {
    GTEST_SKIP() << "the temporary folder is not on the system volume";
  }
  ASSERT_TRUE(pathOf(temp / u"config.sys")->writeAll("c", 1));
  ASSERT_TRUE(pathOf(temp / u"other.sys")->writeAll("o", 1));
  {
    ExplorerSettings settings(2, 1);
    ASSERT_TRUE(settings.ok());
    EXPECT_EQ(listed(temp.path(), false), std::vector<std::u16string>{u"other.sys"});
  }
  {
    ExplorerSettings settings(1, 1);
    ASSERT_TRUE(settings.ok());
    EXPECT_EQ(listed(temp.path(), false), (std::vector<std::u16string>{u"config.sys", u"other.sys"}));
  }
}

}  // namespace

namespace {

TEST(PathWinShell, ShortcutsPointAtTheirTargets) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"photos")->createDirectory());
  auto target = pathOf(temp / u"photos");
  // ".lnk" is added to the link's name.
  if (!target->createShortcut(temp / u"album/target", false)) GTEST_SKIP() << "no shell link service";
  auto link = pathOf(temp / u"album/target.lnk");
  ASSERT_TRUE(link->isShortcut());
  Owned<s::file::win::PathWin> resolved(link->shortcutTarget());
  ASSERT_TRUE(resolved);
  EXPECT_TRUE(resolved->isDirectory());
  // A folder holding "target.lnk" to a folder is a folder shortcut.
  auto album = pathOf(temp / u"album");
  EXPECT_TRUE(album->isFolderShortcut());
  Owned<s::file::win::PathWin> folder(album->folderShortcutTargetPath());
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->isDirectory());
  EXPECT_FALSE(target->createShortcut(temp / u"album/target.lnk", false));  // exists
  EXPECT_FALSE(album->getTypeName().isEmpty());
}

}  // namespace
