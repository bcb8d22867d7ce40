// PathWin: what the file system says about the object (attributes, status, sizes,
// times, volume), cached per path object.
#include <string>
#include <vector>

#include "s/file/FileHandle.h"
#include "s/file/Shell.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"

namespace s::file::win {

namespace {


bool endsWithIgnoringCase(IPath::TextView text, IPath::TextView suffix) {
  if (text.size() < suffix.size()) return false;
  const size_t start = text.size() - suffix.size();
  for (size_t i = 0; i < suffix.size(); ++i) {
    char16_t c = text[start + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

uint32_t PathWin::getAttributes() {
  if (attributesLoaded_) return attributes_;
  attributesLoaded_ = true;
  attributes_ = kInvalidAttributes;
  if (!valid_ || fullPath_.isEmpty()) return attributes_;
  if (stream_) {
    // A stream has no attributes of its own: it exists when it can be opened.
    FileHandle handle;
    if (handle.open(callPath(), FileHandle::Mode::kRead)) {
      attributes_ = kAttributeNormal;
      if (streamSize_ < 0) streamSize_ = handle.size();
    }
    return attributes_;
  }
  attributes_ = FileSystem::attributes(callPath());
  return attributes_;
}

bool PathWin::exists() { return valid_ && !fullPath_.isEmpty() && getAttributes() != kInvalidAttributes; }

bool PathWin::setAttributes(uint32_t bits) {
  if (!exists()) return false;
  const bool ok = FileSystem::setAttributes(callPath(), bits);
  attributesLoaded_ = false;
  return ok;
}

bool PathWin::addAttributes(uint32_t bits) {
  const uint32_t current = getAttributes();
  if (current == kInvalidAttributes) return false;
  if ((current & bits) == bits) return true;
  return setAttributes(current | bits);
}

bool PathWin::isReadable() { return exists() && FileSystem::canAccess(callPath(), true, false); }

bool PathWin::isWritable() { return exists() && FileSystem::canAccess(callPath(), false, true); }

bool PathWin::isReadWritable() { return exists() && FileSystem::canAccess(callPath(), true, true); }

// A missing object reads as every bit set; it is neither a folder nor anything else.
bool PathWin::isDirectory() { return exists() && (attributes_ & kAttributeDirectory) != 0; }

bool PathWin::isFile() { return exists() && (attributes_ & kAttributeDirectory) == 0; }

bool PathWin::isHidden() { return exists() && (attributes_ & kAttributeHidden) != 0; }

bool PathWin::isSystem() { return exists() && (attributes_ & kAttributeSystem) != 0; }

bool PathWin::isArchive() { return exists() && (attributes_ & kAttributeArchive) != 0; }

bool PathWin::isReadOnly() { return exists() && (attributes_ & kAttributeReadOnly) != 0; }

bool PathWin::isReparsePoint() { return exists() && (attributes_ & kAttributeReparsePoint) != 0; }

bool PathWin::isExe() { return isFile() && endsWithIgnoringCase(extension_.view(), u".exe"); }

bool PathWin::isShortcut() { return isFile() && endsWithIgnoringCase(extension_.view(), u".lnk"); }

bool PathWin::isInternetShortcut() { return isFile() && endsWithIgnoringCase(extension_.view(), u".url"); }

bool PathWin::isEmptyDirectory() {
  if (!isDirectory()) return false;
  DirectoryReader reader;
  DirectoryReader::Entry entry;
  return reader.open(callPath()) && !reader.next(&entry);
}

bool PathWin::setReadOnly() { return addAttributes(kAttributeReadOnly); }

bool PathWin::clearReadOnly() {
  const uint32_t current = getAttributes();
  if (current == kInvalidAttributes) return false;
  if ((current & kAttributeReadOnly) == 0) return true;
  return setAttributes(current & ~kAttributeReadOnly);
}

bool PathWin::hide() {
  // POSIX marks hidden objects by name, not by attribute.
  if (kNativeStyle == PathStyle::kPosix) return isHidden();
  return addAttributes(kAttributeHidden);
}

bool PathWin::loadStatus(bool refresh) {
  if (statusLoaded_ && !refresh) return true;
  statusLoaded_ = true;
  status_ = FileStatus();
  if (!valid_ || fullPath_.isEmpty()) return false;
  return FileSystem::status(callPath(), &status_);
}

int64_t PathWin::getCreationTime(bool refresh) { return stream_ || !loadStatus(refresh) ? 0 : status_.creationTime; }

int64_t PathWin::getAccessTime(bool refresh) { return stream_ || !loadStatus(refresh) ? 0 : status_.accessTime; }

int64_t PathWin::getWriteTime(bool refresh) { return stream_ || !loadStatus(refresh) ? 0 : status_.writeTime; }

bool PathWin::setTimes(int64_t creation, int64_t access, int64_t write, bool recursive) {
  if (!exists()) return false;
  FileStatus times;
  times.creationTime = creation;
  times.accessTime = access;
  times.writeTime = write;
  bool ok = FileSystem::setTimes(callPath(), times);
  statusLoaded_ = false;
  if (recursive && isDirectory() && !isReparsePoint()) {
    forEachEntry(true, [&](const DirectoryReader::Entry& entry) {
      thread::Owned<PathWin> inner(fromText(childText(entry.name)));
      if (!inner->setTimes(creation, access, write, true)) ok = false;
    });
  }
  return ok;
}

int64_t PathWin::getSize(bool sumFolders, bool recurse, int64_t* fileCount, int64_t* folderCount, bool countFiles) {
  if (stream_) {
    if (streamSize_ >= 0) return streamSize_;
    getAttributes();  // opening the stream learns its size
    return streamSize_ < 0 ? 0 : streamSize_;
  }
  if (!sumFolders || !isDirectory()) {
    loadStatus(false);
    return status_.size;
  }
  int64_t total = 0;
  forEachEntry(true, [&](const DirectoryReader::Entry& entry) {
    if (entry.attributes & kAttributeDirectory) {
      if (recurse && !(entry.attributes & kAttributeReparsePoint)) {
        thread::Owned<PathWin> inner(fromText(childText(entry.name)));
        total += inner->getSize(true, true, fileCount, folderCount, countFiles);
        if (folderCount) ++*folderCount;
      }
    } else if (countFiles) {
      total += entry.size;
      if (fileCount) ++*fileCount;
    }
  });
  return total;
}

int64_t PathWin::getSizeOnDisk() {
  if (sizeOnDisk_ >= 0) return sizeOnDisk_;
  const int64_t size = getSize();
  if (size <= 0) return sizeOnDisk_ = 0;
  VolumeInfo volume;
  int64_t cluster = 512;
  if (FileSystem::volumeInfo(getVolumeRoot().view(), &volume)) {
    const int64_t sector = volume.bytesPerSector < 512 ? 512 : volume.bytesPerSector;
    cluster = sector * (volume.sectorsPerCluster < 1 ? 1 : volume.sectorsPerCluster);
  }
  sizeOnDisk_ = (size / cluster + (size % cluster != 0 ? 1 : 0)) * cluster;
  return sizeOnDisk_;
}

const IPath::Text& PathWin::getVolumeRoot() {
  if (!volumeRoot_.isEmpty()) return volumeRoot_;
  if (kNativeStyle == PathStyle::kPosix) {
    volumeRoot_.assign(u"/");
  } else if (hasDrive()) {
    volumeRoot_.assign(drive_);
    volumeRoot_.append(u'\\');
  } else {
    // The share root of a UNC path: cut after the fourth separator.
    std::u16string text(isDirectory() ? fullPath_.view() : getFolder().view());
    if (isDirectory()) text += u'\\';
    int separators = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\\' && ++separators == 4) {
        text.resize(i + 1);
        break;
      }
    }
    volumeRoot_.assign(text);
  }
  return volumeRoot_;
}

int PathWin::fileSystemKind() {
  if (fileSystemKind_ != kUnknown) return fileSystemKind_;
  fileSystemKind_ = kOther;
  VolumeInfo volume;
  if (!FileSystem::volumeInfo(getVolumeRoot().view(), &volume)) return fileSystemKind_;
  static const struct {
    const char16_t* name;
    int kind;
  } kKinds[] = {{u"FAT", kFat}, {u"FAT32", kFat32}, {u"VFAT", kVfat}, {u"NTFS", kNtfs}, {u"HPFS", kHpfs}};
  for (const auto& known : kKinds) {
    if (PathSyntax::equalsIgnoringAsciiCase(volume.fileSystemName, known.name)) fileSystemKind_ = known.kind;
  }
  return fileSystemKind_;
}

bool PathWin::isNtfs() { return fileSystemKind() == kNtfs; }

bool PathWin::isFat() {
  const int kind = fileSystemKind();
  return kind == kFat || kind == kFat32 || kind == kVfat;
}

IPath::Text* PathWin::getTypeName(Text* target, bool append) {
  if (!target) target = Text::create();
  if (!append) target->clear();
  const bool found = exists();
  target->append(Shell::typeName(fullPath_.view(), found, found && isDirectory()));
  return target;
}

const IPath::Text& PathWin::getTypeName() { return *getTypeName(&scratch_); }

IPath::Text* PathWin::getSizeText(Text* target, bool append) {
  if (!target) target = Text::create();
  if (!append) target->clear();
  if (!isDirectory()) target->append(Shell::sizeText(getSize()));
  return target;
}

const IPath::Text& PathWin::getSizeText() { return *getSizeText(&scratch_); }

}  // namespace s::file::win
