#include "s/archive/_directory/DirectoryArchive.h"

#include <cstring>

#include "s/archive/dll/IArchive.h"
#include "s/file/IFileInputStream.h"
#include "s/file/win/PathWin.h"
#include "s/io/ByteCursor.h"
#include "s/io/ByteWriter.h"
#include "s/io/Streams.h"
#include "s/thread/Owned.h"

namespace s::archive::_directory {

namespace {

// Entry data is read in blocks of this size, so memory follows the bytes that arrive.
constexpr size_t kBlock = size_t{1} << 20;

// The bytes of a module resource, read through extractEntry.
bool resourceBytes(dll::IArchive& module, int index, col::_array::ArrayU08& bytes) {
  bytes.freeStorage();
  if (!module.extractEntry(module.getEntry(index), bytes)) return false;
  bytes.rewind();
  return true;
}

}  // namespace

DirectoryArchive::~DirectoryArchive() { close(); }

DirectoryEntry* DirectoryArchive::getEntry(int index) const {
  if (index < 0 || index >= getEntryCount()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

void DirectoryArchive::dropEntries() {
  entries_.clear();
}

void DirectoryArchive::close() {
  ownStream_.reset();
  source_ = nullptr;
  start_ = 0;
  sourceSize_ = 0;
  std::memset(header_, 0, sizeof(header_));
  dropEntries();
}

void DirectoryArchive::attach(io::IInputStream& in) {
  close();
  source_ = &in;
  start_ = in.getPosition();
  // The size is known for files; other streams are read as far as they go.
  sourceSize_ = -1;
  if (auto* file = dynamic_cast<file::IFileInputStream*>(&in)) {
    if (file->seekToEnd()) sourceSize_ = file->getPosition();
  }
  readDirectory();
}

bool DirectoryArchive::open(std::u16string_view path) {
  close();
  thread::Owned<file::win::PathWin> file(file::win::PathWin::fromText(path));
  if (!file->exists() || file->isDirectory()) return false;
  // Read-only: opening for writing would fail on read-only media and could change
  // the user's file.
  ownStream_ = file->openInput();
  if (!ownStream_) return false;
  source_ = ownStream_.get();
  start_ = 0;
  sourceSize_ = file->getSize();
  return readDirectory();
}

bool DirectoryArchive::readBytes(uint8_t* out, size_t count) {
  const size_t got = io::Streams::readFully(*source_, out, count);
  if (got < count) std::memset(out + got, 0, count - got);
  return got == count;
}

bool DirectoryArchive::readDirectory() {
  dropEntries();
  if (!source_ || !source_->seek(start_)) return true;
  uint8_t header[kHeaderBytes];
  readBytes(header, sizeof(header));
  io::ByteCursor cursor(header, sizeof(header));
  for (uint16_t& field : header_) field = cursor.u16();
  const bool cursorFile = fileType() == kTypeCursor;
  for (int i = 0; i < header_[2]; ++i) {
    thread::Owned<DirectoryEntry> entry(newEntry());
    entry->setPosition(source_->getPosition());
    // An entry the source does not hold whole is not there at all.
    if (!readBytes(entry->directory(), DirectoryEntry::kBytes)) break;
    if (cursorFile && entry->getHeight() == 0) entry->setHeight(static_cast<uint8_t>(entry->getWidth()));
    entries_.push_back(std::move(entry));
  }
  return true;
}

void DirectoryArchive::loadEntryData(DirectoryEntry* entry) {
  if (!entry) return;
  col::_array::ArrayU08& data = entry->data();
  data.freeStorage();
  int64_t wanted = entry->getDataSize();
  const int64_t offset = start_ + entry->getDataOffset();
  // Never more than the source holds after the offset (64-bit: offset + size may
  // pass 2^32).
  if (sourceSize_ >= 0) {
    const int64_t room = sourceSize_ > offset ? sourceSize_ - offset : 0;
    if (wanted > room) wanted = room;
  }
  if (source_ && wanted > 0 && source_->seek(offset)) {
    std::vector<uint8_t> block;
    while (static_cast<int64_t>(data.getCount()) < wanted) {
      const int64_t missing = wanted - static_cast<int64_t>(data.getCount());
      block.resize(missing < static_cast<int64_t>(kBlock) ? static_cast<size_t>(missing) : kBlock);
      const size_t got = io::Streams::readFully(*source_, block.data(), block.size());
      if (got) data.write(block.data(), got, nullptr);
      if (got < block.size()) break;
    }
  }
  data.rewind();
  entry->setDataSize(static_cast<uint32_t>(data.getCount()));
  entry->markLoaded();
}

bool DirectoryArchive::extractEntry(IEntry* generic, io::IOutputStream& out) {
  auto* entry = dynamic_cast<DirectoryEntry*>(generic);
  if (!entry) return false;
  if (!entry->isLoaded()) loadEntryData(entry);
  // A file of this one entry: its data follows the header and the one directory entry.
  io::ByteWriter head(kHeaderBytes + DirectoryEntry::kBytes);
  head.u16(0);
  head.u16(fileType());
  head.u16(1);
  head.bytes(entry->directory(), 12);
  head.u32(kHeaderBytes + DirectoryEntry::kBytes);
  bool ok = io::Streams::writeFully(out, head.data(), head.size());
  const col::_array::ArrayU08& data = entry->data();
  if (data.getCount()) ok = io::Streams::writeFully(out, data.data(), data.getCount()) && ok;
  return ok;
}

bool DirectoryArchive::writeFile(io::IOutputStream& out) {
  for (const thread::Owned<DirectoryEntry>& entry : entries_)
    if (!entry->isLoaded()) loadEntryData(entry.get());
  const size_t count = entries_.size();
  header_[0] = 0;
  header_[1] = fileType();
  header_[2] = static_cast<uint16_t>(count);
  const size_t headBytes = kHeaderBytes + DirectoryEntry::kBytes * count;
  io::ByteWriter head(headBytes);
  for (uint16_t field : header_) head.u16(field);
  // 64-bit: a directory whose data passes 4 GiB cannot be written.
  int64_t offset = static_cast<int64_t>(headBytes);
  for (const thread::Owned<DirectoryEntry>& entry : entries_) {
    entry->setDataSize(static_cast<uint32_t>(entry->data().getCount()));
    entry->setDataOffset(static_cast<uint32_t>(offset));
    head.bytes(entry->directory(), DirectoryEntry::kBytes);
    offset += static_cast<int64_t>(entry->data().getCount());
  }
  if (offset > UINT32_MAX) return false;
  bool ok = io::Streams::writeFully(out, head.data(), head.size());
  for (const thread::Owned<DirectoryEntry>& entry : entries_) {
    const col::_array::ArrayU08& data = entry->data();
    if (data.getCount()) ok = io::Streams::writeFully(out, data.data(), data.getCount()) && ok;
  }
  return ok;
}

void DirectoryArchive::appendEntry(DirectoryEntry* entry) {
  if (entry) entries_.emplace_back(entry);
}

bool DirectoryArchive::loadGroupNamedAs(dll::IArchive& module, const dll::IEntry& group) {
  return group.nameIsNumber() ? loadGroup(module, group.getNameNumber(), {})
                              : loadGroup(module, 0, group.getNameText());
}

bool DirectoryArchive::loadGroup(dll::IArchive& module, uint16_t number, std::u16string_view name) {
  const bool cursorGroup = fileType() == kTypeCursor;
  const int groupKind = cursorGroup ? dll::kKindGroupCursor : dll::kKindGroupIcon;
  const int imageKind = cursorGroup ? dll::kKindCursor : dll::kKindIcon;
  int groupIndex = 0;
  const bool found = name.empty() ? module.findByKindAndNameNumber(groupKind, number, &groupIndex)
                                  : module.findByKindAndNameText(groupKind, name, &groupIndex);
  if (!found) return false;
  close();
  thread::Owned<col::_array::ArrayU08> group(col::_array::ArrayU08::create());
  if (!resourceBytes(module, groupIndex, *group)) return true;
  io::ByteCursor cursor(group->data(), group->getCount());
  for (uint16_t& field : header_) field = cursor.u16();
  thread::Owned<col::_array::ArrayU08> image(col::_array::ArrayU08::create());
  // Group entries: the 12 first directory bytes, then the 16-bit number of the
  // image resource. A group shorter than its count says ends there.
  constexpr size_t kGroupEntryBytes = 14;
  for (int i = 0; i < header_[2] && cursor.remaining() >= kGroupEntryBytes; ++i) {
    thread::Owned<DirectoryEntry> entry(newEntry());
    cursor.bytes(entry->directory(), 12);
    const uint16_t imageNumber = cursor.u16();
    entry->setDataOffset(imageNumber);
    int imageIndex = 0;
    if (!module.findByKindAndNameNumber(imageKind, imageNumber, &imageIndex)) continue;
    if (!resourceBytes(module, imageIndex, *image)) continue;
    const uint8_t* bytes = image->data();
    size_t size = image->getCount();
    if (cursorGroup) {
      // A cursor group holds 16-bit sizes where a file has bytes: the width byte
      // stays, the height is the width, and the hot spot (the resource's first four
      // bytes) takes the place of planes and bit count.
      uint8_t* directory = entry->directory();
      directory[1] = directory[0];
      directory[2] = 0;
      directory[3] = 0;
      const size_t hotSpotBytes = size < 4 ? size : 4;
      uint8_t hotSpot[4] = {};
      std::memcpy(hotSpot, bytes, hotSpotBytes);
      std::memcpy(directory + 4, hotSpot, 4);
      bytes += hotSpotBytes;
      size -= hotSpotBytes;
    }
    entry->setData(bytes, size);
    entries_.push_back(std::move(entry));
  }
  return true;
}

}  // namespace s::archive::_directory
