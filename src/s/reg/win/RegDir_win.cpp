// RegDir: hives, paths and keys.
#include "s/reg/win/RegDir.h"

#include "s/reg/win/NtRegistry.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::reg::win {

namespace {

struct HiveInfo {
  uint32_t hive;
  std::u16string_view name;
  std::u16string_view prefix;  // empty for the current user: the user's own prefix
};

constexpr HiveInfo kHives[] = {
    {kClassesRoot, u"HKEY_CLASSES_ROOT", u"\\Registry\\Machine\\SOFTWARE\\Classes"},
    {kCurrentUser, u"HKEY_CURRENT_USER", u""},
    {kLocalMachine, u"HKEY_LOCAL_MACHINE", u"\\Registry\\Machine"},
    {kUsers, u"HKEY_USERS", u"\\Registry\\User"},
    {kCurrentConfig, u"HKEY_CURRENT_CONFIG", u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current"},
};

const HiveInfo* hiveInfo(uint32_t hive) {
  for (const HiveInfo& info : kHives) {
    if (info.hive == hive) return &info;
  }
  return nullptr;
}

bool startsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && str::strbuffer::StrBuffer(text.substr(0, prefix.size())).equalsIgnoreCase(prefix);
}

}  // namespace

RegDir::RegDir() { reset(); }

RegDir::~RegDir() { close(); }

void RegDir::reset() {
  close();
  data_.freeStorage();
  hive_ = kCurrentUser;
  path_.clear();
  const HiveInfo& info = *hiveInfo(hive_);
  hiveName_.assign(info.name);
  hivePrefix_ = nt::currentUserPrefix();
  rebuildPaths();
}

void RegDir::rebuildPaths() {
  fullPath_ = hiveName_ + u"\\" + path_;
  nativePath_ = path_.empty() ? hivePrefix_ : hivePrefix_ + u"\\" + path_;
}

void RegDir::setHive(uint32_t hive) {
  const HiveInfo* info = hiveInfo(hive);
  if (!info) return;
  close();
  hive_ = hive;
  hiveName_.assign(info->name);
  hivePrefix_ = info->hive == kCurrentUser ? nt::currentUserPrefix() : std::u16string(info->prefix);
  rebuildPaths();
}

void RegDir::setPath(Text path) {
  close();
  while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  path_.assign(path);
  rebuildPaths();
  reopen();
}

std::u16string RegDir::getKeyName() const {
  const size_t slash = path_.find_last_of(u'\\');
  return slash == std::u16string::npos ? path_ : path_.substr(slash + 1);
}

void RegDir::setFullPath(Text fullPath) {
  for (const HiveInfo& info : kHives) {
    if (startsWithIgnoreCase(fullPath, info.name) && fullPath.size() > info.name.size() &&
        fullPath[info.name.size()] == u'\\') {
      setHiveAndPath(info.hive, fullPath.substr(info.name.size() + 1));
      return;
    }
  }
  setHiveAndPath(kCurrentUser, u"InvalidKey");
}

void RegDir::setHiveAndPath(uint32_t hive, Text path) {
  setHive(hive);
  setPath(path);
}

thread::Owned<RegDir> RegDir::getParent() const {
  thread::Owned<RegDir> parent = thread::make<RegDir>();
  const size_t slash = path_.find_last_of(u'\\');
  parent->setHiveAndPath(hive_, slash == std::u16string::npos ? Text() : Text(path_).substr(0, slash));
  return parent;
}

void RegDir::close() {
  nt::closeKey(key_);
  key_ = nullptr;
}

bool RegDir::reopen() {
  close();
  if (hivePrefix_.empty()) return false;
  nt::openKey(nativePath_, &key_);
  return isOpen();
}

bool RegDir::createKey() {
  if (isOpen()) return true;
  if (hivePrefix_.empty()) return false;
  if (nt::createKey(nativePath_, &key_)) return true;
  // The parent is missing: make it (and its own missing parents), then try again.
  if (path_.empty()) return false;
  thread::Owned<RegDir> parent = getParent();
  if (!parent->createKey()) return false;
  return nt::createKey(nativePath_, &key_);
}

bool RegDir::deleteTree(bool deleteSelf) {
  if (!isOpen()) return false;
  thread::Owned<str::strarray::StrArray> names = thread::make<str::strarray::StrArray>();
  listSubkeyNames(names.get());
  bool ok = true;
  for (size_t i = 0; i < names->count(); ++i) {
    thread::Owned<RegDir> child = thread::make<RegDir>();
    child->setHiveAndPath(hive_, path_.empty() ? std::u16string(names->textAt(i)->view())
                                               : path_ + u"\\" + std::u16string(names->textAt(i)->view()));
    ok = child->deleteTree(true) && ok;
  }
  if (!deleteSelf) return ok;
  ok = nt::deleteKey(key_) && ok;
  close();
  return ok;
}

bool RegDir::rename(Text newName) {
  if (!isOpen() || !nt::renameKey(key_, newName)) return false;
  const size_t slash = path_.find_last_of(u'\\');
  path_ = (slash == std::u16string::npos ? std::u16string() : path_.substr(0, slash + 1)) + std::u16string(newName);
  rebuildPaths();
  return true;
}

bool RegDir::flushKey() { return nt::flushKey(key_); }

void RegDir::listSubkeyNames(str::strarray::StrArray* names, Text prefix) {
  std::u16string name;
  for (uint32_t index = 0; nt::subkeyName(key_, index, &name); ++index) {
    if (prefix.empty() || startsWithIgnoreCase(name, prefix)) names->appendCopy(name);
  }
}

void RegDir::listValues(str::strarray::StrArray* names) {
  std::u16string name;
  for (uint32_t index = 0; nt::valueName(key_, index, &name); ++index) names->appendCopy(name);
}

}  // namespace s::reg::win
