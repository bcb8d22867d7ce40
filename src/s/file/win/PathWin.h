#pragma once
// The library's path (see s/file/IPath.h for the conventions). Take instances with
// create() or thread::make<PathWin>() and give them a text with set().
#include <cstdint>
#include <functional>
#include <string>

#include "s/file/DirectoryReader.h"
#include "s/file/FileSystem.h"
#include "s/file/IPath.h"
#include "s/thread/Owned.h"
#include "s/file/PathSyntax.h"
#include "s/file/win/FileInputStream.h"
#include "s/file/win/FileOutputStream.h"
#include "s/thread/Pool.h"

namespace s::file::win {

class PathWinBase : public IPath {};

class PathWin final : public thread::PooledObject<PathWin, PathWinBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_file_win_PathWin";
  // File system kinds of isNtfs/isFat.
  enum FileSystemKind { kUnknown = -1, kOther = 0, kFat = 1, kFat32 = 2, kVfat = 3, kNtfs = 4, kHpfs = 5 };

  // A new path from the pool set to text.
  static thread::Owned<PathWin> fromText(TextView text);
  static thread::Owned<PathWin> fromText(const Text& text) { return fromText(text.view()); }

  Text* dump(Text* target, bool append = false) const override;
  void reset() override;
  bool isValid() const override { return valid_; }
  bool isAbsolute() const override;
  bool exists() override;
  bool isNtfs() override;
  bool isFat() override;
  uint32_t getAttributes() override;
  bool addAttributes(uint32_t bits) override;
  bool setAttributes(uint32_t bits) override;
  bool isReadable() override;
  bool isWritable() override;
  bool isReadWritable() override;
  bool isDirectory() override;
  bool isEmptyDirectory() override;
  bool isFile() override;
  bool isStream() const override { return stream_; }
  bool isHidden() override;
  bool isSystem() override;
  bool isArchive() override;
  bool isExe() override;
  bool isShortcut() override;
  bool isInternetShortcut() override;
  bool isFolderShortcut() override;
  bool isUnc() const override;
  thread::Owned<Text> getUncServer() const override;
  bool isDriveOnly() const override;
  bool hasDrive() const override;
  char16_t getFirstChar() const override;
  bool isSameVolume(TextView other) const override;
  thread::Owned<Text> makeRelative(TextView text, bool asFolder) override;
  thread::Owned<Text> makeAbsolute(TextView text, bool asFolder) override;
  const Text& getFullPath() const override { return fullPath_; }
  const Text& getLongPath() const override { return longForm_.isEmpty() ? fullPath_ : longForm_; }
  size_t getLength() const override { return fullPath_.length(); }
  const Text& getVolumeRoot() override;
  const Text& getExtensionText() const override { return extension_; }
  int64_t getSize(bool sumFolders = false, bool recurse = true, int64_t* fileCount = nullptr,
                  int64_t* folderCount = nullptr, bool countFiles = true) override;
  int64_t getSizeOnDisk() override;
  void setStreamSize(int64_t size) override { streamSize_ = size; }
  int64_t getCreationTime(bool refresh = false) override;
  int64_t getAccessTime(bool refresh = false) override;
  int64_t getWriteTime(bool refresh = false) override;
  bool setTimes(int64_t creation, int64_t access, int64_t write, bool recursive = false) override;
  bool setReadOnly() override;
  bool clearReadOnly() override;
  bool isReadOnly() override;
  bool hide() override;
  bool rename(TextView newText) override;
  bool scrambleName(int times) override;
  bool createDirectory(bool notify = false) override;
  bool createFile(bool notify = false) override;
  bool createParentDirectory() override;
  bool remove(bool notify = false) override;
  bool deleteAtRestart() override;
  bool recycle(bool confirm = false, bool notify = false) override;
  bool copyTo(TextView newText, bool overwrite) override;
  bool moveTo(TextView newText, bool overwrite, bool notify = false) override;
  bool createShortcut(TextView linkText, bool overwrite, TextView description = TextView()) override;
  bool createInternetShortcut(TextView url, bool overwrite) override;
  Text* getFullPathString(Text* target, bool append = false) const override;
  const Text& getFullPathString() const override { return fullPath_; }
  Text* getFullPathWithSeparator(Text* target, bool append = false) const override;
  const Text& getFullPathWithSeparator() const override;
  thread::Owned<PathWin> getParentOrNone() const { return thread::Owned<PathWin>(newParentOrNone()); }
  Text* getFolder(Text* target, bool append = false) const override;
  const Text& getFolder() const override;
  Text* getFolderTrimmed(Text* target, bool append = false) const override;
  const Text& getFolderTrimmed() const override;
  Text* getFileName(Text* target, bool append = false) const override;
  const Text& getFileName() const override;
  Text* getTitle(Text* target, bool append = false) const override;
  const Text& getTitle() const override { return title_; }
  Text* getExtension(Text* target, bool append = false) const override;
  const Text& getExtension() const override { return extension_; }
  Text* getExtensionNoDot(Text* target, bool append = false) const override;
  const Text& getExtensionNoDot() const override;
  Text* getTypeName(Text* target, bool append = false) override;
  const Text& getTypeName() override;
  Text* getSizeText(Text* target, bool append = false) override;
  const Text& getSizeText() override;
  Text* getUrl(Text* target, bool append = false) override;
  const Text& getUrl() override;
  Text* getFolderShortcutTarget(Text* target, bool append = false) override;
  const Text& getFolderShortcutTarget() override;
  thread::Owned<PathWin> child(TextView name) const { return thread::Owned<PathWin>(newChild(name)); }
  thread::Owned<PathWin> withNameSuffix(TextView suffix) const { return thread::Owned<PathWin>(newWithNameSuffix(suffix)); }
  thread::Owned<PathWin> withSuffix(TextView suffix) { return thread::Owned<PathWin>(newWithSuffix(suffix)); }
  thread::Owned<PathWin> uniqueVariant() { return thread::Owned<PathWin>(newUniqueVariant()); }
  thread::Owned<PathWin> uniqueNumbered() { return thread::Owned<PathWin>(newUniqueNumbered()); }
  thread::Owned<PathWin> parent() const { return thread::Owned<PathWin>(newParent()); }
  thread::Owned<PathWin> shortcutTarget() { return thread::Owned<PathWin>(newShortcutTarget()); }
  thread::Owned<PathWin> folderShortcutTargetPath() { return thread::Owned<PathWin>(newFolderShortcutTargetPath()); }
  int getIndexInFolder(const str::strarray::StrArray* extensions, bool sorted) override;
  bool hasChildren(bool ignorePolicy) override;
  bool listNames(bool ignorePolicy, str::strarray::StrArray* names) override;
  bool listFolderNames(bool ignorePolicy, str::strarray::StrArray* names) override;
  bool listFileNames(bool ignorePolicy, str::strarray::StrArray* names) override;
  bool listPaths(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) override;
  bool listFolders(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) override;
  bool listFiles(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) override;
  bool listPathArray(bool ignorePolicy, bool recurse, IPathArray* paths) override;
  bool listFolderArray(bool ignorePolicy, bool recurse, IPathArray* paths) override;
  bool listFileArray(bool ignorePolicy, bool recurse, IPathArray* paths) override;
  bool listStreams(IPathArray* paths) override;
  thread::Owned<FileInputStream> openInput() { return thread::Owned<FileInputStream>(newInput()); }
  thread::Owned<FileOutputStream> openOutput(bool append = false) {
    return thread::Owned<FileOutputStream>(newOutput(append));
  }
  bool readAll(Bytes* bytes) override;
  bool readAll(std::vector<uint8_t>* bytes);
  bool writeAll(const void* data, size_t size, bool append = false) override;
  bool writeAll(const Bytes& bytes, bool append = false) override;
  bool writeText(TextView text, bool append = false) override;
  bool writeText(const Text& text, bool append = false) { return writeText(text.view(), append); }
  // Writes data as the whole new content of the file: under a temporary name in the
  // same folder first, renamed over the file only once complete, so a failed write
  // leaves the previous file (or none), never an empty or cut one.
  bool writeAllReplacing(const void* data, size_t size);
  bool wipe() override;
  bool extensionEquals(TextView extension) const override;
  void set(TextView text) override;
  void set(const Text& text) override { set(text.view()); }

  // Objects a listing yields: all, folders only or files only.
  enum class EntryKind { kAll, kFolders, kFiles };

 protected:
  PathWin* newParentOrNone() const override;
  PathWin* newChild(TextView name) const override;
  PathWin* newWithNameSuffix(TextView suffix) const override;
  PathWin* newWithSuffix(TextView suffix) override;
  PathWin* newUniqueVariant() override;
  PathWin* newUniqueNumbered() override;
  PathWin* newParent() const override;
  PathWin* newShortcutTarget() override;
  PathWin* newFolderShortcutTargetPath() override;
  FileInputStream* newInput() override;
  FileOutputStream* newOutput(bool append) override;

 private:
  // The text every platform call uses: the long form when there is one, else the full
  // path.
  TextView callPath() const { return getLongPath().view(); }
  // Forgets what was learnt from the file system (after the path's own changes).
  void dropCaches();
  bool loadStatus(bool refresh);
  int fileSystemKind();
  bool isReparsePoint();
  // Calls visit for each listable entry; false when the folder cannot be enumerated.
  bool forEachEntry(bool ignorePolicy, const std::function<void(const DirectoryReader::Entry&)>& visit);
  // Hands each new path to add, in listing order (a folder's entries follow it).
  bool listInto(bool ignorePolicy, bool recurse, EntryKind kind, const std::function<void(PathWin*)>& add);
  bool listNamesOf(bool ignorePolicy, EntryKind kind, str::strarray::StrArray* names);
  thread::Owned<PathWin> numberedVariant(bool bareNumber);
  // A fresh temporary name beside this path, for content that is renamed into place.
  std::u16string stagingText() const;
  bool copyFileTo(const PathWin& target, bool overwrite);
  bool copyFolderTo(PathWin& target, bool overwrite);
  bool removeTree();
  // The full path of the folder entry name inside this folder.
  std::u16string childText(TextView name) const;

  Text given_;
  Text drive_;
  Text folder_;
  Text longForm_;
  Text fullPath_;
  Text title_;
  Text extension_;
  Text volumeRoot_;
  mutable Text scratch_;
  FileStatus status_;
  int64_t streamSize_ = -1;
  int64_t sizeOnDisk_ = -1;
  uint32_t attributes_ = 0;
  int fileSystemKind_ = kUnknown;
  bool statusLoaded_ = false;
  bool attributesLoaded_ = false;
  bool valid_ = false;
  bool stream_ = false;
};

}  // namespace s::file::win
