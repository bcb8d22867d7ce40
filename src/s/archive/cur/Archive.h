#pragma once
// The directory of a cursor file as an archive. A cursor file is laid out as an icon
// file with type 2, and directory bytes 4-7 hold the hot spot; an entry whose height
// byte is 0 takes its width as height.
#include <cstdint>
#include <string_view>

#include "s/archive/_directory/DirectoryArchive.h"
#include "s/archive/cur/Entry.h"
#include "s/thread/Pool.h"

namespace s::archive::cur {

class Archive final : public thread::PooledObject<Archive, _directory::DirectoryArchive> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_cur_Archive";

  bool writeCursorFile(io::IOutputStream& out) { return writeFile(out); }
  // Fills the archive from the module's cursor group of that number or name.
  bool loadCursorGroup(dll::IArchive& module, uint16_t number) { return loadGroup(module, number, {}); }
  bool loadCursorGroup(dll::IArchive& module, std::u16string_view name) { return loadGroup(module, 0, name); }

 protected:
  uint16_t fileType() const override { return kTypeCursor; }
  _directory::DirectoryEntry* newEntry() const override { return Entry::create(); }
};

}  // namespace s::archive::cur
