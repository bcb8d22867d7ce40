#pragma once
// What icon and cursor archives share: the directory of an icon or cursor file (a
// 6-byte header of reserved, type and count, then 16-byte entries, then the image
// data), read from a stream or built from a module's group resources, and written
// back as a file.
//
// Input is hostile: directory entries stop where the source ends, and an entry's data
// is read only as far as the source holds it (the memory follows the bytes really
// there, never the declared size); a loaded entry's data size is then the count
// that arrived, so a file written back is consistent.
#include <cstdint>
#include <string_view>
#include <vector>

#include "s/archive/IArchive.h"
#include "s/archive/_directory/DirectoryEntry.h"
#include "s/file/IFileInputStream.h"
#include "s/io/IInputStream.h"
#include "s/thread/Owned.h"

namespace s::file {
class IFileInputStream;
}
namespace s::archive::dll {
class IArchive;
class IEntry;
}

namespace s::archive::_directory {

class DirectoryArchive : public IArchive {
 public:
  static constexpr int kHeaderBytes = 6;
  static constexpr uint16_t kTypeIcon = 1;
  static constexpr uint16_t kTypeCursor = 2;

  DirectoryArchive() = default;
  ~DirectoryArchive() override;
  DirectoryArchive(const DirectoryArchive&) = delete;
  DirectoryArchive& operator=(const DirectoryArchive&) = delete;

  int64_t getSourceSize() const override { return sourceSize_; }
  int getEntryCount() const override { return static_cast<int>(entries_.size()); }
  DirectoryEntry* getEntry(int index) const override;
  // Opens the file read-only and reads its directory.
  bool open(std::u16string_view path) override;
  void close() override;
  // A one-image file of this archive's type: header, the entry's first 12 directory
  // bytes, offset 22, the data.
  bool extractEntry(IEntry* entry, io::IOutputStream& out) override;
  void reset() override { close(); }

  // Reads the directory from a stream the caller keeps, from its current position.
  void attach(io::IInputStream& in);
  // Header and directory entries from the source; always true.
  bool readDirectory();
  // The entry's data from the source (see the header comment).
  void loadEntryData(DirectoryEntry* entry);
  // The whole archive as a file; every entry's data is loaded first. Offsets start
  // after the directory and follow each entry's data.
  bool writeFile(io::IOutputStream& out);
  // Takes over an entry (its data loaded), at the end of the list.
  void appendEntry(DirectoryEntry* entry);
  // Fills the archive from the module's group resource (icon or cursor group) that
  // has the name of `group`, a number or a text.
  bool loadGroupNamedAs(dll::IArchive& module, const dll::IEntry& group);
  uint16_t getHeaderCount() const { return header_[2]; }
  uint16_t getHeaderType() const { return header_[1]; }

 protected:
  virtual uint16_t fileType() const = 0;
  virtual DirectoryEntry* newEntry() const = 0;
  // Fills the archive from a module's group resource (icon or cursor group, found
  // by number when name is empty, else by name); false, leaving the archive as it
  // was, when the group is not there.
  bool loadGroup(dll::IArchive& module, uint16_t number, std::u16string_view name);

 private:
  bool readBytes(uint8_t* out, size_t count);
  void dropEntries();

  int64_t start_ = 0;
  int64_t sourceSize_ = 0;
  std::vector<thread::Owned<DirectoryEntry>> entries_;
  thread::Owned<file::IFileInputStream> ownStream_;  // when the archive opened the file
  io::IInputStream* source_ = nullptr;
  uint16_t header_[3] = {};
};

}  // namespace s::archive::_directory
