#include "s/archive/dll/win/Archive.h"

#include "s/archive/cur/Archive.h"
#include "s/archive/icon/Archive.h"
#include "s/file/win/PathWin.h"
#include "s/io/Streams.h"
#include "s/str/strbuffer/CaseMap.h"
#include "s/thread/Owned.h"

namespace s::archive::dll::win {

namespace {

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (str::strbuffer::CaseMap::toUpper(a[i]) != str::strbuffer::CaseMap::toUpper(b[i])) return false;
  return true;
}

bool nameIs(const Entry& entry, uint16_t number) { return entry.nameIsNumber() && entry.getNameNumber() == number; }
bool nameIs(const Entry& entry, std::u16string_view text) { return entry.nameIsText() && entry.getNameText() == text; }
bool typeIs(const Entry& entry, int kind) { return entry.typeIsKind() && entry.getKind() == kind; }
bool typeIs(const Entry& entry, std::u16string_view text) { return entry.typeIsText() && entry.getTypeText() == text; }

}  // namespace

Archive::~Archive() { close(); }

Entry* Archive::getEntry(int index) const {
  if (index < 0 || index >= getEntryCount()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

Entry* Archive::addEntry() {
  entries_.emplace_back(Entry::create());
  return entries_.back().get();
}

bool Archive::open(std::u16string_view path) {
  close();
  thread::Owned<file::win::PathWin> file(file::win::PathWin::fromText(path));
  if (!file->exists() || file->isDirectory()) return false;
  path_.assign(file->getFullPath().view());
  size_ = file->getSize();
  if (!loadModule(path_)) {
    close();
    return false;
  }
  return true;
}

void Archive::close() {
  unloadModule();
  entries_.clear();
  path_.clear();
  size_ = 0;
}

bool Archive::extractEntry(archive::IEntry* generic, io::IOutputStream& out) {
  auto* entry = dynamic_cast<Entry*>(generic);
  if (!entry) return false;
  if (entry->holdsBytes()) {
    const std::vector<uint8_t>& bytes = entry->heldBytes();
    return bytes.empty() || io::Streams::writeFully(out, bytes.data(), bytes.size());
  }
  return extractModuleResource(*entry, out);
}

template <class Match>
bool Archive::findFirst(Match match, int* index) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (match(*entries_[i])) {
      *index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

bool Archive::findByNameText(std::u16string_view name, int* index) const {
  return findFirst([&](const Entry& e) { return nameIs(e, name); }, index);
}

bool Archive::findByNameNumber(uint16_t number, int* index) const {
  return findFirst([&](const Entry& e) { return nameIs(e, number); }, index);
}

bool Archive::findByNameTextIgnoreCase(std::u16string_view name, int* index) const {
  return findFirst([&](const Entry& e) { return e.nameIsText() && equalIgnoringCase(e.getNameText(), name); },
                   index);
}

bool Archive::findNthOfKind(int kind, int n, int* index) const {
  int seen = 0;
  return findFirst([&](const Entry& e) { return typeIs(e, kind) && seen++ == n; }, index);
}

bool Archive::findByTypeTextAndNameText(std::u16string_view type, std::u16string_view name, int* index) const {
  return findFirst([&](const Entry& e) { return typeIs(e, type) && nameIs(e, name); }, index);
}

bool Archive::findByTypeTextAndNameNumber(std::u16string_view type, uint16_t number, int* index) const {
  return findFirst([&](const Entry& e) { return typeIs(e, type) && nameIs(e, number); }, index);
}

bool Archive::findByKindAndNameText(int kind, std::u16string_view name, int* index) const {
  return findFirst([&](const Entry& e) { return typeIs(e, kind) && nameIs(e, name); }, index);
}

bool Archive::findByKindAndNameNumber(int kind, uint16_t number, int* index) const {
  return findFirst([&](const Entry& e) { return typeIs(e, kind) && nameIs(e, number); }, index);
}

bool Archive::findByTypeTextAndNameTextIgnoreCase(std::u16string_view type, std::u16string_view name,
                                                  int* index) const {
  return findFirst(
      [&](const Entry& e) {
        return e.typeIsText() && equalIgnoringCase(e.getTypeText(), type) && e.nameIsText() &&
               equalIgnoringCase(e.getNameText(), name);
      },
      index);
}

bool Archive::findByKindAndNameTextIgnoreCase(int kind, std::u16string_view name, int* index) const {
  return findFirst(
      [&](const Entry& e) { return typeIs(e, kind) && e.nameIsText() && equalIgnoringCase(e.getNameText(), name); },
      index);
}

namespace {

// The group entry's archive (icon or cursor) loaded by the entry's name and written
// as a file; a group that cannot be loaded gives a file without images.
template <class GroupArchive>
bool extractGroup(Archive& module, int index, io::IOutputStream& out) {
  Entry* group = module.getEntry(index);
  if (!group) return false;
  thread::Owned<GroupArchive> archive = thread::make<GroupArchive>();
  (void)archive->loadGroupNamedAs(module, *group);
  (void)archive->writeFile(out);
  return true;
}

}  // namespace

bool Archive::extractIconGroup(int index, io::IOutputStream& out) {
  return extractGroup<icon::Archive>(*this, index, out);
}

bool Archive::extractCursorGroup(int index, io::IOutputStream& out) {
  return extractGroup<cur::Archive>(*this, index, out);
}

void Archive::putResource(const uint8_t* bytes, size_t size, int typeNumber, uint16_t nameNumber,
                          uint16_t language) {
  Entry* entry = addEntry();
  entry->setType(typeNumber);
  entry->setNameNumber(nameNumber);
  entry->setLanguage(language);
  entry->holdBytes(bytes, size);
}

void Archive::putResource(const uint8_t* bytes, size_t size, std::u16string_view type, uint16_t nameNumber,
                          uint16_t language) {
  Entry* entry = addEntry();
  entry->setType(type);
  entry->setNameNumber(nameNumber);
  entry->setLanguage(language);
  entry->holdBytes(bytes, size);
}

}  // namespace s::archive::dll::win
