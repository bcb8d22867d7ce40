#pragma once
// A path: a text split into drive, folder, title and extension, the questions about
// the file system object behind it, derived paths, file operations, folder listing
// and file streams.
//
// Conventions of the path module:
// - Texts are UTF-16. On Windows "/" and "\" separate and the Win32 wide API sees
//   the long form ("\\?\") of long paths; on POSIX only "/" separates, there are no
//   drives or UNC names, and names reach the file system as UTF-8 (see NameCodec).
// - Texts are StrBuffers. Text accessors come in pairs: the first fills a target
//   (replacing its content, or appending when asked) and returns it, or, given no
//   target, returns a new text from the pool that the caller releases; the second
//   returns the text from the path itself or its scratch buffer, valid until the next
//   call on the same path.
// - Operations that return a path hand over a new one from the pool: the caller
//   releases it (thread::Owned does that).
// - Attributes and status (size, times) are fetched once and cached; set and reset
//   clear the caches, and so do the path's own operations that change the object.
// - Nothing raises: queries answer false, 0 or an empty text, operations false.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"

namespace s::file {

class IFileInputStream;
class IFileOutputStream;
class IPathArray;

class IPath : public base::IObject, public thread::IPoolable {
 public:
  using Text = str::strbuffer::StrBuffer;
  using Bytes = col::_array::ArrayU08;
  using TextView = std::u16string_view;

  // Labels the parts: "Original String: ", "Drive: ", "Dir: ", "FileTitle: ", "Ext: ",
  // "FullPath: ", one a line.
  virtual Text* dump(Text* target, bool append = false) const = 0;
  virtual bool isValid() const = 0;
  virtual bool isAbsolute() const = 0;
  virtual bool exists() = 0;
  virtual bool isNtfs() = 0;
  virtual bool isFat() = 0;
  virtual uint32_t getAttributes() = 0;
  virtual bool addAttributes(uint32_t bits) = 0;
  virtual bool setAttributes(uint32_t bits) = 0;
  virtual bool isReadable() = 0;
  virtual bool isWritable() = 0;
  virtual bool isReadWritable() = 0;
  virtual bool isDirectory() = 0;
  virtual bool isEmptyDirectory() = 0;
  virtual bool isFile() = 0;
  virtual bool isStream() const = 0;
  virtual bool isHidden() = 0;
  virtual bool isSystem() = 0;
  virtual bool isArchive() = 0;
  virtual bool isExe() = 0;
  virtual bool isShortcut() = 0;
  virtual bool isInternetShortcut() = 0;
  virtual bool isFolderShortcut() = 0;
  virtual bool isUnc() const = 0;
  virtual thread::Owned<Text> getUncServer() const = 0;
  virtual bool isDriveOnly() const = 0;
  virtual bool hasDrive() const = 0;
  virtual char16_t getFirstChar() const = 0;
  virtual bool isSameVolume(TextView other) const = 0;
  virtual thread::Owned<Text> makeRelative(TextView text, bool asFolder) = 0;
  virtual thread::Owned<Text> makeAbsolute(TextView text, bool asFolder) = 0;
  virtual const Text& getFullPath() const = 0;
  virtual const Text& getLongPath() const = 0;
  virtual size_t getLength() const = 0;
  virtual const Text& getVolumeRoot() = 0;
  virtual const Text& getExtensionText() const = 0;
  // The size of a file; with sumFolders the sum over a folder's files (recursing into
  // sub-folders that are not reparse points when asked, counting what was added).
  virtual int64_t getSize(bool sumFolders = false, bool recurse = true, int64_t* fileCount = nullptr,
                          int64_t* folderCount = nullptr, bool countFiles = true) = 0;
  virtual int64_t getSizeOnDisk() = 0;
  virtual void setStreamSize(int64_t size) = 0;
  // 100-ns intervals since 1601-01-01 UTC; 0 for streams and missing objects.
  virtual int64_t getCreationTime(bool refresh = false) = 0;
  virtual int64_t getAccessTime(bool refresh = false) = 0;
  virtual int64_t getWriteTime(bool refresh = false) = 0;
  // Times of 0 stay unchanged; recursive applies them to a folder's contents too.
  virtual bool setTimes(int64_t creation, int64_t access, int64_t write, bool recursive = false) = 0;
  virtual bool setReadOnly() = 0;
  virtual bool clearReadOnly() = 0;
  virtual bool isReadOnly() = 0;
  virtual bool hide() = 0;
  virtual bool rename(TextView newText) = 0;
  virtual bool scrambleName(int times) = 0;
  virtual bool createDirectory(bool notify = false) = 0;
  virtual bool createFile(bool notify = false) = 0;
  virtual bool createParentDirectory() = 0;
  // Deletes a file, or a folder with its contents; a missing object counts as deleted.
  virtual bool remove(bool notify = false) = 0;
  virtual bool deleteAtRestart() = 0;
  virtual bool recycle(bool confirm = false, bool notify = false) = 0;
  virtual bool copyTo(TextView newText, bool overwrite) = 0;
  virtual bool moveTo(TextView newText, bool overwrite, bool notify = false) = 0;
  virtual bool createShortcut(TextView linkText, bool overwrite, TextView description = TextView()) = 0;
  // Writes an internet shortcut file at this path pointing to url.
  virtual bool createInternetShortcut(TextView url, bool overwrite) = 0;
  virtual Text* getFullPathString(Text* target, bool append = false) const = 0;
  virtual const Text& getFullPathString() const = 0;
  virtual Text* getFullPathWithSeparator(Text* target, bool append = false) const = 0;
  virtual const Text& getFullPathWithSeparator() const = 0;
  thread::Owned<IPath> getParentOrNone() const { return thread::Owned<IPath>(newParentOrNone()); }
  virtual Text* getFolder(Text* target, bool append = false) const = 0;
  virtual const Text& getFolder() const = 0;
  virtual Text* getFolderTrimmed(Text* target, bool append = false) const = 0;
  virtual const Text& getFolderTrimmed() const = 0;
  virtual Text* getFileName(Text* target, bool append = false) const = 0;
  virtual const Text& getFileName() const = 0;
  virtual Text* getTitle(Text* target, bool append = false) const = 0;
  virtual const Text& getTitle() const = 0;
  virtual Text* getExtension(Text* target, bool append = false) const = 0;
  virtual const Text& getExtension() const = 0;
  virtual Text* getExtensionNoDot(Text* target, bool append = false) const = 0;
  virtual const Text& getExtensionNoDot() const = 0;
  virtual Text* getTypeName(Text* target, bool append = false) = 0;
  virtual const Text& getTypeName() = 0;
  virtual Text* getSizeText(Text* target, bool append = false) = 0;
  virtual const Text& getSizeText() = 0;
  virtual Text* getUrl(Text* target, bool append = false) = 0;
  virtual const Text& getUrl() = 0;
  virtual Text* getFolderShortcutTarget(Text* target, bool append = false) = 0;
  virtual const Text& getFolderShortcutTarget() = 0;
  thread::Owned<IPath> child(TextView name) const { return thread::Owned<IPath>(newChild(name)); }
  thread::Owned<IPath> withNameSuffix(TextView suffix) const { return thread::Owned<IPath>(newWithNameSuffix(suffix)); }
  thread::Owned<IPath> withSuffix(TextView suffix) { return thread::Owned<IPath>(newWithSuffix(suffix)); }
  thread::Owned<IPath> uniqueVariant() { return thread::Owned<IPath>(newUniqueVariant()); }
  thread::Owned<IPath> uniqueNumbered() { return thread::Owned<IPath>(newUniqueNumbered()); }
  thread::Owned<IPath> parent() const { return thread::Owned<IPath>(newParent()); }
  thread::Owned<IPath> shortcutTarget() { return thread::Owned<IPath>(newShortcutTarget()); }
  thread::Owned<IPath> folderShortcutTargetPath() { return thread::Owned<IPath>(newFolderShortcutTargetPath()); }
  // Position among the folder's files (those whose extension is in extensions when
  // that is given and not empty; sorted by name ignoring case when asked); -1 when
  // not found.
  virtual int getIndexInFolder(const str::strarray::StrArray* extensions, bool sorted) = 0;
  virtual bool hasChildren(bool ignorePolicy) = 0;
  // Names of entries appended to names: all, folders only, files only.
  virtual bool listNames(bool ignorePolicy, str::strarray::StrArray* names) = 0;
  virtual bool listFolderNames(bool ignorePolicy, str::strarray::StrArray* names) = 0;
  virtual bool listFileNames(bool ignorePolicy, str::strarray::StrArray* names) = 0;
  // New paths appended to list as IPath* (an ArrayP; with a disposer it owns them,
  // without one the caller releases them).
  virtual bool listPaths(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) = 0;
  virtual bool listFolders(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) = 0;
  virtual bool listFiles(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) = 0;
  virtual bool listPathArray(bool ignorePolicy, bool recurse, IPathArray* paths) = 0;
  virtual bool listFolderArray(bool ignorePolicy, bool recurse, IPathArray* paths) = 0;
  virtual bool listFileArray(bool ignorePolicy, bool recurse, IPathArray* paths) = 0;
  virtual bool listStreams(IPathArray* paths) = 0;
  thread::Owned<IFileInputStream> openInput() { return thread::Owned<IFileInputStream>(newInput()); }
  thread::Owned<IFileOutputStream> openOutput(bool append = false) {
    return thread::Owned<IFileOutputStream>(newOutput(append));
  }
  virtual bool readAll(Bytes* bytes) = 0;
  virtual bool writeAll(const void* data, size_t size, bool append = false) = 0;
  virtual bool writeAll(const Bytes& bytes, bool append = false) = 0;
  // The text's UTF-8 form, without byte-order mark.
  virtual bool writeText(TextView text, bool append = false) = 0;
  virtual bool wipe() = 0;
  virtual bool extensionEquals(TextView extension) const = 0;
  virtual void set(TextView text) = 0;
  virtual void set(const Text& text) = 0;

 protected:
  // The factories behind the operations above that hand over a new path or stream:
  // a new object from the pool, or none.
  virtual IPath* newParentOrNone() const = 0;
  virtual IPath* newChild(TextView name) const = 0;
  virtual IPath* newWithNameSuffix(TextView suffix) const = 0;
  virtual IPath* newWithSuffix(TextView suffix) = 0;
  virtual IPath* newUniqueVariant() = 0;
  virtual IPath* newUniqueNumbered() = 0;
  virtual IPath* newParent() const = 0;
  virtual IPath* newShortcutTarget() = 0;
  virtual IPath* newFolderShortcutTargetPath() = 0;
  virtual IFileInputStream* newInput() = 0;
  virtual IFileOutputStream* newOutput(bool append) = 0;
};

}  // namespace s::file
