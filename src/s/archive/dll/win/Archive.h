#pragma once
// The resources of an executable module as an archive (Windows): opening loads the
// module as data and lists every resource (type, name, neutral language, size) in the
// platform's enumeration order. Elsewhere a module cannot be opened; resources can
// still be supplied in memory with putResource, and then the finders, extraction and
// the icon and cursor groups work the same.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/archive/dll/IArchive.h"
#include "s/archive/dll/win/Entry.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::archive::dll::win {

class ArchiveBase : public dll::IArchive {};

class Archive final : public thread::PooledObject<Archive, ArchiveBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_dll_win_Archive";

  Archive() = default;
  ~Archive() override;
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  void reset() override { close(); }

  int64_t getSourceSize() const override { return size_; }
  int getEntryCount() const override { return static_cast<int>(entries_.size()); }
  Entry* getEntry(int index) const override;
  // False, leaving the archive empty, for a missing path, a module that cannot be
  // loaded or whose resources cannot be listed (and always where modules are not
  // the platform's).
  bool open(std::u16string_view path) override;
  void close() override;
  // The resource's bytes; false (nothing written) when it cannot be loaded.
  bool extractEntry(archive::IEntry* entry, io::IOutputStream& out) override;

  bool findByNameText(std::u16string_view name, int* index) const override;
  bool findByNameNumber(uint16_t number, int* index) const override;
  bool findByNameTextIgnoreCase(std::u16string_view name, int* index) const override;
  bool findNthOfKind(int kind, int n, int* index) const override;
  bool findByTypeTextAndNameText(std::u16string_view type, std::u16string_view name, int* index) const override;
  bool findByTypeTextAndNameNumber(std::u16string_view type, uint16_t number, int* index) const override;
  bool findByKindAndNameText(int kind, std::u16string_view name, int* index) const override;
  bool findByKindAndNameNumber(int kind, uint16_t number, int* index) const override;
  bool findByTypeTextAndNameTextIgnoreCase(std::u16string_view type, std::u16string_view name,
                                           int* index) const override;
  bool findByKindAndNameTextIgnoreCase(int kind, std::u16string_view name, int* index) const override;
  bool extractIconGroup(int index, io::IOutputStream& out) override;
  bool extractCursorGroup(int index, io::IOutputStream& out) override;
  void putResource(const uint8_t* bytes, size_t size, int typeNumber, uint16_t nameNumber,
                   uint16_t language) override;
  void putResource(const uint8_t* bytes, size_t size, std::u16string_view type, uint16_t nameNumber,
                   uint16_t language) override;

  const std::u16string& getPath() const { return path_; }

 private:
  friend struct ModuleEnumeration;
  template <class Match>
  bool findFirst(Match match, int* index) const;
  Entry* addEntry();
  // The platform's part of open, close and extractEntry (Archive_win.cpp,
  // Archive_posix.cpp).
  bool loadModule(std::u16string_view path);
  void unloadModule();
  bool extractModuleResource(const Entry& entry, io::IOutputStream& out);

  std::u16string path_;
  int64_t size_ = 0;
  std::vector<thread::Owned<Entry>> entries_;
  void* module_ = nullptr;
};

}  // namespace s::archive::dll::win
