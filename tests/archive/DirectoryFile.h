#pragma once
// Icon and cursor files built byte by byte for the archive tests.
#include <cstdint>
#include <vector>

#include "io/MemoryStreams.h"

namespace archive_testing {

struct DirectoryEntry {
  uint8_t width, height, colours;
  uint16_t planes, bitCount;
  uint32_t size, offset;
};

// A file of type 1 (icon) or 2 (cursor): header, directory, then `tail`.
inline std::vector<uint8_t> directoryFile(uint16_t type, uint16_t count, const std::vector<DirectoryEntry>& entries,
                                   const std::vector<uint8_t>& tail = {}) {
  testing_streams::ByteWriter w;
  w.u16(0).u16(type).u16(count);  // reserved, type, count
  for (const DirectoryEntry& e : entries)
    w.u8(e.width).u8(e.height).u8(e.colours).u8(0).u16(e.planes).u16(e.bitCount).u32(e.size).u32(e.offset);
  return w.raw(tail).bytes;
}

}  // namespace archive_testing
