#pragma once
// One image of a cursor file's directory (see _directory/DirectoryEntry.h).
#include "s/archive/_directory/DirectoryEntry.h"
#include "s/thread/Pool.h"

namespace s::archive::cur {

class Entry final : public thread::PooledObject<Entry, _directory::DirectoryEntry> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_cur_Entry";
};

}  // namespace s::archive::cur
