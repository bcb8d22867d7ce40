#pragma once
// One image of an icon file's directory (see _directory/DirectoryEntry.h).
#include "s/archive/_directory/DirectoryEntry.h"
#include "s/thread/Pool.h"

namespace s::archive::icon {

class Entry final : public thread::PooledObject<Entry, _directory::DirectoryEntry> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_icon_Entry";
};

}  // namespace s::archive::icon
