// PathWin: listing folder contents.
#include <algorithm>

#include "s/file/IPathArray.h"
#include "s/file/Shell.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"
#include "s/str/strbuffer/CaseMap.h"

namespace s::file::win {

namespace {

bool lessIgnoringCase(const std::u16string& a, const std::u16string& b) {
  using str::strbuffer::CaseMap;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
    return CaseMap::toLowerAscii(x) < CaseMap::toLowerAscii(y);
  });
}

// The root of the volume holding the system folder, "C:\" when it cannot be found.
const std::u16string& systemVolumeRoot() {
  static const std::u16string root = [] {
    std::u16string folder = FileSystem::systemFolder();
    if (folder.size() >= 2 && folder[1] == u':') return folder.substr(0, 2) + u"\\";
    return std::u16string(u"C:\\");
  }();
  return root;
}

bool matches(PathWin::EntryKind kind, uint32_t attributes) {
  const bool folder = (attributes & kAttributeDirectory) != 0;
  return kind == PathWin::EntryKind::kAll || (kind == PathWin::EntryKind::kFolders) == folder;
}

}  // namespace

bool PathWin::forEachEntry(bool ignorePolicy, const std::function<void(const DirectoryReader::Entry&)>& visit) {
  if (!valid_ || fullPath_.isEmpty()) return false;
  DirectoryReader reader;
  if (!reader.open(callPath())) return false;
  bool skipHidden = false;
  bool skipSystem = false;
  bool skipBootFiles = false;
  // POSIX lists everything: the Explorer's settings and reparse points are Windows'.
  if (kNativeStyle == PathStyle::kWindows) {
    if (!ignorePolicy) {
      skipHidden = Shell::explorerHidden() == 2;
      skipSystem = Shell::explorerShowSuperHidden() == 0;
      skipBootFiles = (skipHidden || skipSystem) && PathSyntax::equalsIgnoringAsciiCase(getVolumeRoot().view(), systemVolumeRoot());
    }
  }
  DirectoryReader::Entry entry;
  while (reader.next(&entry)) {
    if (kNativeStyle == PathStyle::kWindows) {
      if (entry.attributes & kAttributeReparsePoint) continue;
      if (skipHidden && (entry.attributes & kAttributeHidden)) continue;
      if (skipSystem && (entry.attributes & kAttributeSystem)) continue;
      if (skipBootFiles && (PathSyntax::equalsIgnoringAsciiCase(entry.name, u"AUTOEXEC.BAT") || PathSyntax::equalsIgnoringAsciiCase(entry.name, u"CONFIG.SYS"))) {
        continue;
      }
    }
    visit(entry);
  }
  return true;
}

bool PathWin::listInto(bool ignorePolicy, bool recurse, EntryKind kind, const std::function<void(PathWin*)>& add) {
  return forEachEntry(ignorePolicy, [&](const DirectoryReader::Entry& entry) {
    const bool folder = (entry.attributes & kAttributeDirectory) != 0;
    thread::Owned<PathWin> found(fromText(childText(entry.name)));
    // Symbolic links to folders are listed but never descended into.
    const bool descend = recurse && folder && !(entry.attributes & kAttributeReparsePoint);
    PathWin* kept = found.get();
    if (matches(kind, entry.attributes)) add(found.detach());
    if (descend) kept->listInto(ignorePolicy, true, kind, add);
  });
}

bool PathWin::listPaths(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) {
  return listInto(ignorePolicy, recurse, EntryKind::kAll, [&](PathWin* path) { list->append(static_cast<void*>(static_cast<IPath*>(path))); });
}

bool PathWin::listFolders(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) {
  return listInto(ignorePolicy, recurse, EntryKind::kFolders,
                  [&](PathWin* path) { list->append(static_cast<void*>(static_cast<IPath*>(path))); });
}

bool PathWin::listFiles(bool ignorePolicy, bool recurse, col::_array::ArrayP* list) {
  return listInto(ignorePolicy, recurse, EntryKind::kFiles,
                  [&](PathWin* path) { list->append(static_cast<void*>(static_cast<IPath*>(path))); });
}

bool PathWin::listPathArray(bool ignorePolicy, bool recurse, IPathArray* paths) {
  return listInto(ignorePolicy, recurse, EntryKind::kAll, [&](PathWin* path) { paths->push(path); });
}

bool PathWin::listFolderArray(bool ignorePolicy, bool recurse, IPathArray* paths) {
  return listInto(ignorePolicy, recurse, EntryKind::kFolders, [&](PathWin* path) { paths->push(path); });
}

bool PathWin::listFileArray(bool ignorePolicy, bool recurse, IPathArray* paths) {
  return listInto(ignorePolicy, recurse, EntryKind::kFiles, [&](PathWin* path) { paths->push(path); });
}

bool PathWin::listNamesOf(bool ignorePolicy, EntryKind kind, str::strarray::StrArray* names) {
  return forEachEntry(ignorePolicy, [&](const DirectoryReader::Entry& entry) {
    if (matches(kind, entry.attributes)) names->appendCopy(entry.name);
  });
}

bool PathWin::listNames(bool ignorePolicy, str::strarray::StrArray* names) {
  return listNamesOf(ignorePolicy, EntryKind::kAll, names);
}

bool PathWin::listFolderNames(bool ignorePolicy, str::strarray::StrArray* names) {
  return listNamesOf(ignorePolicy, EntryKind::kFolders, names);
}

bool PathWin::listFileNames(bool ignorePolicy, str::strarray::StrArray* names) {
  return listNamesOf(ignorePolicy, EntryKind::kFiles, names);
}

bool PathWin::hasChildren(bool ignorePolicy) {
  bool found = false;
  forEachEntry(ignorePolicy, [&](const DirectoryReader::Entry&) { found = true; });
  return found;
}

int PathWin::getIndexInFolder(const str::strarray::StrArray* extensions, bool sorted) {
  thread::Owned<PathWin> folder(parent());
  thread::Owned<str::strarray::StrArray> listed(str::strarray::StrArray::create());
  if (!folder->listFileNames(false, listed.get())) return -1;
  std::vector<std::u16string> names;
  for (size_t i = 0; i < listed->count(); ++i) {
    const std::u16string name(listed->textAt(i)->view());
    bool wanted = !extensions || extensions->count() == 0;
    if (!wanted) {
      thread::Owned<PathWin> entry(fromText(name));
      for (size_t k = 0; k < extensions->count() && !wanted; ++k) {
        wanted = entry->extensionEquals(extensions->textAt(k)->view());
      }
    }
    if (wanted) names.push_back(name);
  }
  if (sorted) std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
  const std::u16string own(getFileName().view());
  for (size_t i = 0; i < names.size(); ++i) {
    if (kNativeStyle == PathStyle::kWindows ? PathSyntax::equalsIgnoringAsciiCase(names[i], own) : names[i] == own) return static_cast<int>(i);
  }
  return -1;
}

bool PathWin::listStreams(IPathArray* paths) {
  std::vector<Shell::Stream> streams;
  if (!isFile() || !Shell::listStreams(callPath(), &streams)) return false;
  for (const auto& stream : streams) {
    // ":name:$DATA" becomes "file:name".
    std::u16string name = stream.name;
    if (!name.empty() && name[0] == u':') name.erase(0, 1);
    const size_t type = name.rfind(u":$DATA");
    if (type != std::u16string::npos && type + 6 == name.size()) name.resize(type);
    PathWin* found = fromText(std::u16string(fullPath_.view()) + u":" + name).detach();
    found->setStreamSize(stream.size);
    paths->push(found);
  }
  return true;
}

}  // namespace s::file::win
