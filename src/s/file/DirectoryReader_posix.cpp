#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "s/file/DirectoryReader.h"
#include "s/file/FileSystem.h"
#include "s/file/NameCodec.h"

namespace s::file {

namespace {

struct State {
  DIR* dir;
};

}  // namespace

bool DirectoryReader::open(std::u16string_view folder) {
  close();
  std::string bytes;
  if (folder.empty() || !NameCodec::encode(folder, &bytes)) return false;
  DIR* dir = ::opendir(bytes.c_str());
  if (!dir) return false;
  state_ = new State{dir};
  return true;
}

bool DirectoryReader::next(Entry* entry) {
  if (!state_) return false;
  DIR* dir = static_cast<State*>(state_)->dir;
  for (;;) {
    const struct dirent* found = ::readdir(dir);
    if (!found) return false;
    const char* name = found->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    struct stat linkInfo;
    if (::fstatat(::dirfd(dir), name, &linkInfo, AT_SYMLINK_NOFOLLOW) != 0) continue;  // vanished meanwhile
    struct stat info = linkInfo;
    uint32_t attributes = 0;
    if (S_ISLNK(linkInfo.st_mode)) {
      attributes |= kAttributeReparsePoint;
      if (::fstatat(::dirfd(dir), name, &info, 0) != 0) info = linkInfo;
    }
    if (S_ISDIR(info.st_mode)) attributes |= kAttributeDirectory;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kAttributeReadOnly;
    if (name[0] == '.') attributes |= kAttributeHidden;
    if (attributes == 0) attributes = kAttributeNormal;
    entry->name.clear();
    NameCodec::decode(name, &entry->name);
    entry->attributes = attributes;
    entry->size = S_ISDIR(info.st_mode) ? 0 : static_cast<int64_t>(info.st_size);
    return true;
  }
}

void DirectoryReader::close() {
  if (!state_) return;
  auto* state = static_cast<State*>(state_);
  ::closedir(state->dir);
  delete state;
  state_ = nullptr;
}

}  // namespace s::file
