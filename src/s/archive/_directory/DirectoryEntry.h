#pragma once
// The entry shared by icon and cursor files: where its directory entry sits in the
// source, the 16 directory bytes exactly as in the file, the image data, and whether
// that data has been loaded.
//
// Directory bytes (little-endian): 0 width, 1 height (0 means 256 in a file), 2 colour
// count, 3 reserved, 4-5 planes (cursor: hot spot x), 6-7 bit count (cursor: hot spot
// y), 8-11 data size, 12-15 data offset from the start of the file.
#include <cstdint>

#include "s/archive/IEntry.h"
#include "s/col/_array/ArrayU08.h"
#include "s/thread/Owned.h"

namespace s::archive::_directory {

class DirectoryEntry : public IEntry {
 public:
  static constexpr int kBytes = 16;

  DirectoryEntry();
  ~DirectoryEntry() override;
  DirectoryEntry(const DirectoryEntry&) = delete;
  DirectoryEntry& operator=(const DirectoryEntry&) = delete;

  int64_t getSize() const override { return 0; }
  void reset() override;

  int64_t getPosition() const { return position_; }
  void setPosition(int64_t position) { position_ = position; }
  uint8_t* directory() { return directory_; }
  const uint8_t* directory() const { return directory_; }

  int getWidth() const { return directory_[0]; }
  int getHeight() const { return directory_[1]; }
  int getColourCount() const { return directory_[2]; }
  uint16_t getPlanes() const { return field16(4); }  // cursor: hot spot x
  uint16_t getBitCount() const { return field16(6); }  // cursor: hot spot y
  uint32_t getDataSize() const { return field32(8); }
  uint32_t getDataOffset() const { return field32(12); }
  void setHeight(uint8_t height) { directory_[1] = height; }
  void setField16(int at, uint16_t value);
  void setDataSize(uint32_t size) { setField32(8, size); }
  void setDataOffset(uint32_t offset) { setField32(12, offset); }

  // The image data (a byte array that is also a stream). Owned by the entry.
  col::_array::ArrayU08& data() { return *data_; }
  const col::_array::ArrayU08& data() const { return *data_; }
  bool isLoaded() const { return loaded_; }
  // Takes bytes as the entry's data: the data size becomes their count.
  void setData(const uint8_t* bytes, size_t count);
  // Frees the data; it must be loaded again before use.
  void unload();
  void markLoaded() { loaded_ = true; }

 private:
  uint16_t field16(int at) const { return static_cast<uint16_t>(directory_[at] | (directory_[at + 1] << 8)); }
  uint32_t field32(int at) const {
    return directory_[at] | (directory_[at + 1] << 8) | (directory_[at + 2] << 16) |
           (static_cast<uint32_t>(directory_[at + 3]) << 24);
  }
  void setField32(int at, uint32_t value);

  int64_t position_ = 0;
  uint8_t directory_[kBytes] = {};
  thread::Owned<col::_array::ArrayU08> data_;
  bool loaded_ = false;
};

}  // namespace s::archive::_directory
