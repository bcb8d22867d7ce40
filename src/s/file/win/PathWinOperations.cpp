// PathWin: creating, deleting, copying, moving and renaming objects.
#include <string>
#include <vector>

#include "s/file/Shell.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"

namespace s::file::win {

namespace {


using thread::Owned;

// Windows refuses roots by their length ("C:\" and shorter); POSIX refuses "/".
bool isTooShortToCreate(IPath::TextView fullPath) {
  if (kNativeStyle == PathStyle::kPosix) return fullPath.empty() || fullPath == u"/";
  return fullPath.size() <= 3;
}

std::u16string hexText(uint64_t value) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

}  // namespace

bool PathWin::createDirectory(bool notify) {
  if (!valid_ || isTooShortToCreate(fullPath_.view())) return false;
  bool ok = FileSystem::createDirectory(callPath());
  if (!ok && FileSystem::lastError() != FsError::kExists && createParentDirectory()) {
    ok = FileSystem::createDirectory(callPath());
  }
  dropCaches();
  if (ok && notify) Shell::notifyCreated(fullPath_.view(), true);
  return ok;
}

bool PathWin::createParentDirectory() {
  Owned<PathWin> folder(getParentOrNone());
  if (!folder) return false;
  if (folder->isDirectory()) return true;
  // Another thread may create the same folder meanwhile; what counts is that it
  // exists afterwards.
  return folder->createDirectory(false) || (folder->dropCaches(), folder->isDirectory());
}

bool PathWin::createFile(bool notify) {
  if (!valid_) return false;
  bool ok = FileSystem::createNewFile(callPath());
  if (!ok && FileSystem::lastError() != FsError::kExists && createParentDirectory()) {
    ok = FileSystem::createNewFile(callPath());
  }
  dropCaches();
  if (ok && notify) Shell::notifyCreated(fullPath_.view(), false);
  return ok;
}

bool PathWin::removeTree() {
  // Every entry, hidden ones and links included; links are removed, never followed.
  DirectoryReader reader;
  bool ok = reader.open(callPath());
  DirectoryReader::Entry entry;
  while (ok && reader.next(&entry)) {
    Owned<PathWin> inner(fromText(childText(entry.name)));
    if (!inner->remove(false)) ok = false;
  }
  reader.close();
  return ok;
}

bool PathWin::remove(bool notify) {
  if (!valid_ || fullPath_.isEmpty()) return false;
  if (!exists()) return true;
  const bool folder = isDirectory();
  const bool link = isReparsePoint();
  if (folder && !link && !removeTree()) return false;
  const auto attempt = [&] {
    return folder ? FileSystem::removeDirectory(callPath()) : FileSystem::removeFile(callPath());
  };
  bool ok = attempt();
  if (!ok && FileSystem::lastError() == FsError::kAccessDenied && clearReadOnly()) ok = attempt();
  if (!ok && FileSystem::lastError() == FsError::kNotFound) ok = true;
  dropCaches();
  if (ok && notify) Shell::notifyDeleted(fullPath_.view(), folder);
  return ok;
}

bool PathWin::deleteAtRestart() {
  if (!exists()) return false;
  bool ok = true;
  if (isDirectory() && !isReparsePoint()) {
    // The contents first, so the folder is empty when its turn comes.
    DirectoryReader reader;
    DirectoryReader::Entry entry;
    if (reader.open(callPath())) {
      while (reader.next(&entry)) {
        Owned<PathWin> inner(fromText(childText(entry.name)));
        if (!inner->deleteAtRestart()) ok = false;
      }
    }
  }
  return Shell::deleteAtRestart(callPath()) && ok;
}

bool PathWin::recycle(bool confirm, bool notify) {
  if (!exists()) return false;
  const bool folder = isDirectory();
  const bool ok = Shell::recycle(fullPath_.view(), confirm);
  dropCaches();
  if (ok && notify) Shell::notifyDeleted(fullPath_.view(), folder);
  return ok;
}

std::u16string PathWin::stagingText() const {
  std::u16string temporary(getFolder().view());
  // A short prefix of the name keeps the temporary name within the name length limit.
  temporary += u'.';
  temporary += getFileName().view().substr(0, 64);
  temporary += u'.';
  temporary += hexText(FileSystem::uniqueNumber());
  temporary += u".tmp";
  return temporary;
}

bool PathWin::copyFileTo(const PathWin& target, bool overwrite) {
  // The copy goes to a temporary name beside the target and is renamed over it only
  // when complete, so an interrupted or failed copy never leaves a target that looks
  // whole.
  Owned<PathWin> staging(fromText(target.stagingText()));
  if (!FileSystem::copyFileToNew(callPath(), staging->callPath())) return false;
  if (!FileSystem::rename(staging->callPath(), target.callPath(), overwrite)) {
    FileSystem::removeFile(staging->callPath());
    return false;
  }
  return true;
}

bool PathWin::copyFolderTo(PathWin& target, bool overwrite) {
  // A target inside the source would receive copies of itself without end. Compare
  // the resolved forms, at separator boundaries.
  std::u16string source;
  std::u16string destination;
  if (!FileSystem::canonicalPath(fullPath_.view(), &source) ||
      !FileSystem::canonicalPath(target.fullPath_.view(), &destination)) {
    return false;
  }
  if (PathSyntax::isSameOrInside(destination, source, kNativeStyle)) return false;
  if (target.exists()) {
    if (!overwrite || !target.isDirectory()) return false;
  } else if (!target.createDirectory(false)) {
    return false;
  }
  // The entries are taken before anything is copied, so nothing the copy creates is
  // copied again.
  std::vector<std::u16string> names;
  if (!forEachEntry(true, [&](const DirectoryReader::Entry& entry) { names.push_back(entry.name); })) return false;
  for (const auto& name : names) {
    Owned<PathWin> inner(fromText(childText(name)));
    if (!inner->copyTo(target.childText(name), overwrite)) return false;
  }
  return true;
}

bool PathWin::copyTo(TextView newText, bool overwrite) {
  Owned<PathWin> target(fromText(newText));
  if (!target->valid_ || target->fullPath_.length() <= (kNativeStyle == PathStyle::kPosix ? 1u : 3u) || !exists()) return false;
  if (kNativeStyle == PathStyle::kPosix && isReparsePoint()) {
    // A symbolic link is copied as a link, never followed.
    if (target->exists()) {
      if (!overwrite || (target->isDirectory() && !target->isReparsePoint()) || !target->remove(false)) return false;
    }
    bool ok = FileSystem::copySymbolicLink(callPath(), target->callPath());
    if (!ok && target->createParentDirectory()) ok = FileSystem::copySymbolicLink(callPath(), target->callPath());
    return ok;
  }
  if (isDirectory()) return copyFolderTo(*target, overwrite);
  if (target->exists() && (!overwrite || target->isDirectory())) return false;
  if (copyFileTo(*target, overwrite)) return true;
  return target->createParentDirectory() && copyFileTo(*target, overwrite);
}

bool PathWin::moveTo(TextView newText, bool overwrite, bool notify) {
  Owned<PathWin> target(fromText(newText));
  if (!target->valid_ || !exists()) return false;
  const bool folder = isDirectory();
  bool ok = FileSystem::rename(callPath(), target->callPath(), overwrite);
  if (!ok && FileSystem::lastError() == FsError::kCrossDevice) {
    // Across volumes: copy, then delete the source once the copy is complete.
    ok = copyTo(target->fullPath_.view(), overwrite) && remove(false);
  }
  dropCaches();
  if (ok && notify) Shell::notifyRenamed(fullPath_.view(), target->fullPath_.view(), folder);
  return ok;
}

bool PathWin::rename(TextView newText) {
  // A bare name stays in this path's folder.
  bool bareName = true;
  for (char16_t c : newText) {
    if (PathSyntax::isSeparator(c, kNativeStyle)) bareName = false;
  }
  Owned<PathWin> target(fromText(bareName ? std::u16string(getFolder().view()) + std::u16string(newText) : std::u16string(newText)));
  if (!target->valid_ || !exists() || target->exists()) return false;
  if (!FileSystem::rename(callPath(), target->callPath(), false)) return false;
  set(target->fullPath_.view());
  return true;
}

bool PathWin::scrambleName(int times) {
  if (!exists()) return false;
  static const char16_t kLetters[] = u"abcdefghijklmnopqrstuvwxyz0123456789";
  const size_t length = getFileName().length() < 8 ? 8 : getFileName().length();
  for (int round = 0; round < times; ++round) {
    uint64_t seed = FileSystem::uniqueNumber() * 0x9E3779B97F4A7C15ULL + static_cast<uint64_t>(round);
    std::u16string name;
    for (size_t i = 0; i < length; ++i) {
      seed ^= seed >> 29;
      seed *= 0xBF58476D1CE4E5B9ULL;
      seed ^= seed >> 32;
      name.push_back(kLetters[seed % 36]);
    }
    if (!rename(name)) return false;
  }
  return true;
}

}  // namespace s::file::win
