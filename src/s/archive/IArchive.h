#pragma once
// A container of entries read through one interface: icon files, cursor files and the
// resources of an executable module (s::archive::icon, ::cur, ::dll::win).
//
// Conventions: an archive is empty after construction and after reset (which closes
// it); it owns its entries; entries handed out stay valid until close or reset.
#include <cstdint>
#include <string_view>

#include "s/archive/IEntry.h"
#include "s/io/IOutputStream.h"

namespace s::archive {

class IArchive : public base::IObject, public thread::IPoolable {
 public:
  // Bytes of the source the archive was opened on.
  virtual int64_t getSourceSize() const = 0;
  virtual int getEntryCount() const = 0;
  // The entry at index, or none outside 0..count - 1.
  virtual IEntry* getEntry(int index) const = 0;
  // Opens the file at path (read-only); false, leaving the archive empty, when it is
  // missing or cannot be read as this kind of archive.
  virtual bool open(std::u16string_view path) = 0;
  virtual void close() = 0;
  // Writes the entry as a file of its own: a one-image icon or cursor file, or the
  // resource's bytes. False when its data could not be had or written.
  virtual bool extractEntry(IEntry* entry, io::IOutputStream& out) = 0;
};

}  // namespace s::archive
