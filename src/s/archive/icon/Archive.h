#pragma once
// The directory of an icon file as an archive: read from a stream or a file, or built
// from an icon group of a module, and written back as an icon file. The ICO codec
// reads icon files through it.
#include <cstdint>
#include <string_view>

#include "s/archive/_directory/DirectoryArchive.h"
#include "s/archive/icon/Entry.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::ico::win {
class IconImage;
}

namespace s::archive::icon {

class Archive final : public thread::PooledObject<Archive, _directory::DirectoryArchive> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_icon_Archive";

  // The entry nearest to width x height by the directory's bytes: an exact match at
  // 32 bits at once, else the smallest area distance, then the bit count nearest to
  // 32; ties keep the earlier entry. False (index 0) without entries.
  bool findNearestEntry(int width, int height, int* index) const;
  // A new icon image read from entry index's data (loaded first); the caller
  // releases it. None for an index outside the list.
  thread::Owned<image::ico::win::IconImage> makeIconImage(int index);
  bool writeIconFile(io::IOutputStream& out) { return writeFile(out); }
  // Fills the archive from the module's icon group of that number or name.
  bool loadIconGroup(dll::IArchive& module, uint16_t number) { return loadGroup(module, number, {}); }
  bool loadIconGroup(dll::IArchive& module, std::u16string_view name) { return loadGroup(module, 0, name); }

 protected:
  uint16_t fileType() const override { return kTypeIcon; }
  _directory::DirectoryEntry* newEntry() const override { return Entry::create(); }
};

}  // namespace s::archive::icon
