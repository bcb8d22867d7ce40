// PathWin: file streams, whole-file reads and writes, shortcuts.
#include <algorithm>
#include <string>

#include "s/file/FileHandle.h"
#include "s/file/FileSystem.h"
#include "s/file/Shell.h"
#include "s/file/win/FileInputStream.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/Utf8.h"
#include "s/thread/Owned.h"

namespace s::file::win {

namespace {

using thread::Owned;

// Internet shortcut files are small; anything larger is not one.
constexpr int64_t kMaxUrlFileSize = 65536;


}  // namespace

FileInputStream* PathWin::newInput() {
  FileInputStream* stream = FileInputStream::create();
  if (valid_) stream->open(callPath());
  return stream;
}

FileOutputStream* PathWin::newOutput(bool append) {
  FileOutputStream* stream = FileOutputStream::create();
  if (valid_) createParentDirectory();
  // An invalid path opens nothing, and the stream then reports every write as failed.
  stream->open(valid_ ? callPath() : TextView(), append);
  dropCaches();
  return stream;
}

bool PathWin::readAll(Bytes* bytes) {
  bytes->clear();
  FileHandle file;
  if (!valid_ || !file.open(callPath(), FileHandle::Mode::kRead)) return false;
  const int64_t expected = file.size();
  if (expected > 0 && static_cast<uint64_t>(expected) < SIZE_MAX / 2) bytes->reserve(static_cast<size_t>(expected));
  // Read to the end whatever the size said: the file may grow or shrink meanwhile.
  unsigned char block[65536];
  for (;;) {
    size_t got = 0;
    if (!file.read(block, sizeof block, &got)) return false;
    if (got == 0) return true;
    bytes->append(block, got, 0);
  }
}

bool PathWin::readAll(std::vector<uint8_t>* bytes) {
  bytes->clear();
  FileHandle file;
  if (!valid_ || !file.open(callPath(), FileHandle::Mode::kRead)) return false;
  const int64_t expected = file.size();
  if (expected > 0 && static_cast<uint64_t>(expected) < SIZE_MAX / 2) bytes->reserve(static_cast<size_t>(expected));
  // Read to the end whatever the size said: the file may grow or shrink meanwhile.
  unsigned char block[65536];
  for (;;) {
    size_t got = 0;
    if (!file.read(block, sizeof block, &got)) return false;
    if (got == 0) return true;
    bytes->insert(bytes->end(), block, block + got);
  }
}

bool PathWin::writeAll(const void* data, size_t size, bool append) {
  Owned<FileOutputStream> stream(openOutput(append));
  size_t written = 0;
  const bool wrote = stream->write(data, size, &written);
  const bool closed = stream->close();
  return wrote && closed && written == size;
}

bool PathWin::writeAllReplacing(const void* data, size_t size) {
  if (!valid_) return false;
  Owned<PathWin> staging(fromText(stagingText()));
  bool ok = staging->writeAll(data, size, false);
  ok = ok && FileSystem::rename(staging->callPath(), callPath(), true);
  if (!ok) FileSystem::removeFile(staging->callPath());
  dropCaches();
  return ok;
}

bool PathWin::writeAll(const Bytes& bytes, bool append) {
  return writeAll(bytes.rawData(), bytes.getCount(), append);
}

bool PathWin::writeText(TextView text, bool append) {
  const std::string bytes = str::strbuffer::toUtf8(text);
  return writeAll(bytes.data(), bytes.size(), append);
}

bool PathWin::wipe() {
  if (!exists()) return false;
  if (isDirectory()) {
    if (isReparsePoint()) return true;
    bool ok = true;
    forEachEntry(true, [&](const DirectoryReader::Entry& entry) {
      Owned<PathWin> inner(fromText(childText(entry.name)));
      if (!inner->wipe()) ok = false;
    });
    return ok;
  }
  // Overwrite in place (no truncation), so the old bytes are gone from the disk.
  FileHandle file;
  if (!file.open(callPath(), FileHandle::Mode::kReadWriteAppend)) return false;
  const int64_t size = file.size();
  if (size < 0 || file.seek(0, FileHandle::Origin::kBegin) != 0) return false;
  static const unsigned char kZeros[65536] = {};
  int64_t left = size;
  while (left > 0) {
    const size_t chunk = static_cast<size_t>(std::min<int64_t>(left, sizeof kZeros));
    size_t written = 0;
    if (!file.write(kZeros, chunk, &written)) return false;
    left -= static_cast<int64_t>(written);
  }
  const bool synced = file.sync();
  return file.close() && synced;
}

bool PathWin::createShortcut(TextView linkText, bool overwrite, TextView description) {
  if (!exists()) return false;
  Owned<PathWin> link(fromText(linkText));
  if (!link->extensionEquals(u".lnk")) link->set(std::u16string(linkText) + u".lnk");
  if (link->exists() && !overwrite) return false;
  link->createParentDirectory();
  return Shell::createShortcut(fullPath_.view(), link->fullPath_.view(), description);
}

PathWin* PathWin::newShortcutTarget() {
  if (!isShortcut()) return nullptr;
  const std::u16string target = Shell::shortcutTarget(callPath());
  return target.empty() ? nullptr : fromText(target).detach();
}

bool PathWin::isFolderShortcut() { return !getFolderShortcutTarget().isEmpty(); }

IPath::Text* PathWin::getFolderShortcutTarget(Text* target, bool append) {
  if (!target) target = Text::create();
  if (!append) target->clear();
  if (!isDirectory()) return target;
  Owned<PathWin> link(child(u"target.lnk"));
  Owned<PathWin> destination(link->shortcutTarget());
  if (destination && destination->isDirectory()) target->append(destination->fullPath_);
  return target;
}

const IPath::Text& PathWin::getFolderShortcutTarget() { return *getFolderShortcutTarget(&scratch_); }

PathWin* PathWin::newFolderShortcutTargetPath() {
  const Text& target = getFolderShortcutTarget();
  if (target.isEmpty()) return nullptr;
  return fromText(target).detach();
}

bool PathWin::createInternetShortcut(TextView url, bool overwrite) {
  if (!valid_ || (exists() && !overwrite)) return false;
  return writeText(u"[InternetShortcut]\r\nURL=" + std::u16string(url) + u"\r\n", false);
}

IPath::Text* PathWin::getUrl(Text* target, bool append) {
  if (!target) target = Text::create();
  if (!append) target->clear();
  if (!isFile() || getSize() > kMaxUrlFileSize) return target;
  std::vector<uint8_t> bytes;
  if (!readAll(&bytes)) return target;
  // The "URL=" line of the file (ASCII keys; the value is taken as UTF-8).
  size_t lineStart = 0;
  while (lineStart < bytes.size()) {
    size_t lineEnd = lineStart;
    while (lineEnd < bytes.size() && bytes[lineEnd] != '\n' && bytes[lineEnd] != '\r') ++lineEnd;
    if (lineEnd - lineStart > 4 && (bytes[lineStart] | 0x20) == 'u' && (bytes[lineStart + 1] | 0x20) == 'r' &&
        (bytes[lineStart + 2] | 0x20) == 'l' && bytes[lineStart + 3] == '=') {
      const std::string value(bytes.begin() + static_cast<std::ptrdiff_t>(lineStart + 4),
                              bytes.begin() + static_cast<std::ptrdiff_t>(lineEnd));
      target->appendUtf8(value);
      return target;
    }
    lineStart = lineEnd + 1;
  }
  return target;
}

const IPath::Text& PathWin::getUrl() { return *getUrl(&scratch_); }

}  // namespace s::file::win
