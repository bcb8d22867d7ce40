#include "s/archive/_directory/DirectoryEntry.h"

#include <cstring>

namespace s::archive::_directory {

DirectoryEntry::DirectoryEntry() : data_(col::_array::ArrayU08::create()) {}

DirectoryEntry::~DirectoryEntry() = default;

void DirectoryEntry::reset() {
  position_ = 0;
  std::memset(directory_, 0, sizeof(directory_));
  unload();
}

void DirectoryEntry::setField16(int at, uint16_t value) {
  directory_[at] = static_cast<uint8_t>(value);
  directory_[at + 1] = static_cast<uint8_t>(value >> 8);
}

void DirectoryEntry::setField32(int at, uint32_t value) {
  for (int i = 0; i < 4; ++i) directory_[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void DirectoryEntry::setData(const uint8_t* bytes, size_t count) {
  data_->freeStorage();
  if (count) data_->write(bytes, count, nullptr);
  data_->rewind();
  setDataSize(static_cast<uint32_t>(count));
  loaded_ = true;
}

void DirectoryEntry::unload() {
  data_->freeStorage();
  loaded_ = false;
}

}  // namespace s::archive::_directory
