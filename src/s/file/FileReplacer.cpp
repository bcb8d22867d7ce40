#include "s/file/FileReplacer.h"

#include "s/file/FileSystem.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"

namespace s::file {

namespace {

// target + "." + 16 hex digits + ".tmp": unique per process and call, so two
// processes flushing the same file never write into one temporary file.
std::u16string temporaryNameFor(std::u16string_view target) {
  str::strbuffer::StrBuffer name(target);
  name.append(u'.');
  name.appendHex64(FileSystem::uniqueNumber());
  name.append(u".tmp");
  return std::u16string(name.view());
}

}  // namespace

FileReplacer::FileReplacer(std::u16string_view target) : target_(target), temporary_(temporaryNameFor(target)) {}

FileReplacer::~FileReplacer() {
  if (written_) {
    thread::Owned<win::PathWin> temporary(win::PathWin::fromText(temporary_));
    temporary->remove(false);
  }
}

bool FileReplacer::writeTemporary(const void* data, size_t size) {
  thread::Owned<win::PathWin> temporary(win::PathWin::fromText(temporary_));
  // Set before writing: a partly written file is removed as well.
  written_ = true;
  // writeAll closes the file, which pushes its data to the device before the rename
  // can make it the target.
  return temporary->writeAll(data, size, false);
}

bool FileReplacer::commit() {
  if (!written_) return false;
  thread::Owned<win::PathWin> temporary(win::PathWin::fromText(temporary_));
  if (!temporary->moveTo(target_, true)) return false;
  written_ = false;
  return true;
}

bool FileReplacer::replace(std::u16string_view target, const void* data, size_t size) {
  FileReplacer replacer(target);
  return replacer.writeTemporary(data, size) && replacer.commit();
}

}  // namespace s::file
