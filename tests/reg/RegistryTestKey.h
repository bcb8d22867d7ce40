#pragma once
// A registry key of one test's own under HKEY_CURRENT_USER, deleted with everything
// below it when the test ends.
#include <string>

#include "s/file/FileSystem.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"

namespace s::reg::testing {

class RegistryTestKey {
 public:
  RegistryTestKey() {
    str::strbuffer::StrBuffer path(u"Software\\PictorvaTests\\");
    path.appendHex64(file::FileSystem::uniqueNumber());
    path_.assign(path.view());
  }
  explicit RegistryTestKey(std::u16string path) : path_(std::move(path)) {}
  ~RegistryTestKey() {
    thread::Owned<win::RegDir> key = thread::make<win::RegDir>();
    key->setHiveAndPath(kCurrentUser, path_);
    key->deleteTree(true);
  }
  RegistryTestKey(const RegistryTestKey&) = delete;
  RegistryTestKey& operator=(const RegistryTestKey&) = delete;

  // The path below HKEY_CURRENT_USER.
  const std::u16string& path() const { return path_; }
  // A key object on path + "\\" + relative (or on path itself).
  thread::Owned<win::RegDir> key(const std::u16string& relative = u"") const {
    thread::Owned<win::RegDir> key = thread::make<win::RegDir>();
    key->setHiveAndPath(kCurrentUser, relative.empty() ? path_ : path_ + u"\\" + relative);
    return key;
  }

 private:
  std::u16string path_;
};

}  // namespace s::reg::testing
