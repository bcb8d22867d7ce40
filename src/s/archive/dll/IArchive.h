#pragma once
// The resources of an executable module as an archive, with finders by type and
// name. Every finder scans the entries in order and answers the first match; when
// none matches it answers false and leaves *index unchanged.
#include <cstdint>
#include <string_view>

#include "s/archive/IArchive.h"
#include "s/archive/dll/IEntry.h"

namespace s::archive::dll {

// Kinds of the standard resource types used by the finders.
inline constexpr int kKindCursor = 4;
inline constexpr int kKindGroupCursor = 9;
inline constexpr int kKindGroupIcon = 10;
inline constexpr int kKindIcon = 12;
inline constexpr int kKindRcData = 17;

class IArchive : public archive::IArchive {
 public:
  virtual bool findByNameText(std::u16string_view name, int* index) const = 0;
  virtual bool findByNameNumber(uint16_t number, int* index) const = 0;
  virtual bool findByNameTextIgnoreCase(std::u16string_view name, int* index) const = 0;
  // The n-th entry (from 0) of that kind.
  virtual bool findNthOfKind(int kind, int n, int* index) const = 0;
  virtual bool findByTypeTextAndNameText(std::u16string_view type, std::u16string_view name, int* index) const = 0;
  virtual bool findByTypeTextAndNameNumber(std::u16string_view type, uint16_t number, int* index) const = 0;
  virtual bool findByKindAndNameText(int kind, std::u16string_view name, int* index) const = 0;
  virtual bool findByKindAndNameNumber(int kind, uint16_t number, int* index) const = 0;
  virtual bool findByTypeTextAndNameTextIgnoreCase(std::u16string_view type, std::u16string_view name,
                                                   int* index) const = 0;
  virtual bool findByKindAndNameTextIgnoreCase(int kind, std::u16string_view name, int* index) const = 0;
  // The icon (cursor) group entry at index written as an icon (cursor) file. True
  // even when the group could not be loaded: the file then holds no images.
  virtual bool extractIconGroup(int index, io::IOutputStream& out) = 0;
  virtual bool extractCursorGroup(int index, io::IOutputStream& out) = 0;
  // Adds a resource held in memory: a copy of size bytes with this type, name and
  // language. The way a platform without module resources supplies them.
  virtual void putResource(const uint8_t* bytes, size_t size, int typeNumber, uint16_t nameNumber,
                           uint16_t language) = 0;
  virtual void putResource(const uint8_t* bytes, size_t size, std::u16string_view type, uint16_t nameNumber,
                           uint16_t language) = 0;
};

}  // namespace s::archive::dll
