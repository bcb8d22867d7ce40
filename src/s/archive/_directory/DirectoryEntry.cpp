#include "s/archive/_directory/DirectoryEntry.h"

#include <cstring>

#include "s/io/ByteWriter.h"

namespace s::archive::_directory {

DirectoryEntry::DirectoryEntry() : data_(col::_array::ArrayU08::create()) {}

DirectoryEntry::~DirectoryEntry() = default;

void DirectoryEntry::reset() {
  position_ = 0;
  std::memset(directory_, 0, sizeof(directory_));
  unload();
}

void DirectoryEntry::setField16(int at, uint16_t value) { io::ByteWriter::store16(directory_ + at, value); }

void DirectoryEntry::setField32(int at, uint32_t value) { io::ByteWriter::store32(directory_ + at, value); }

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
