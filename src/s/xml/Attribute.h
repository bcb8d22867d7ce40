#pragma once
// One attribute record of an element: a name and a value, both kept zero-terminated
// in one block ([name units] 0 [value units] 0), so a record costs one allocation.
//
// The value is held escaped, exactly as it stands (or will stand) between the quotes
// in the file; Node's typed getters unescape and its setters escape. A record whose
// name is empty holds a run of the element's text content instead (see Node.h).
//
// Short texts (name and value together up to kInPlaceUnits - 2 units) are kept in
// the record itself; longer ones in a block of their own. Records come from
// AttrFactory's pool; clear() keeps a small block for the next use.
#include <cstddef>
#include <string_view>

namespace s::xml {

class Attribute {
 public:
  Attribute() = default;
  ~Attribute();
  Attribute(const Attribute&) = delete;
  Attribute& operator=(const Attribute&) = delete;

  std::u16string_view name() const { return {units_, nameLength_}; }
  std::u16string_view value() const { return {units_ + nameLength_ + 1, valueLength_}; }
  // Zero-terminated forms, valid until the record changes.
  const char16_t* nameData() const { return units_; }
  const char16_t* valueData() const { return units_ + nameLength_ + 1; }
  bool isText() const { return nameLength_ == 0; }

  void assign(std::u16string_view name, std::u16string_view value);
  // The same from UTF-8 bytes (malformed sequences become U+FFFD).
  void assignUtf8(std::string_view name, std::string_view value);

  // Empties the record; a block of at most kKeptUnits units stays for the next use.
  void clear();
  size_t capacity() const { return capacity_; }

  static constexpr size_t kInPlaceUnits = 24;
  static constexpr size_t kKeptUnits = 64;

 private:
  // Room for at least units units; the old content is not kept.
  void makeRoom(size_t units);
  bool holds(const char16_t* unit) const { return unit >= units_ && unit < units_ + capacity_; }
  void freeBlock();

  char16_t* units_ = inPlace_;  // [name] 0 [value] 0
  size_t nameLength_ = 0;
  size_t valueLength_ = 0;
  size_t capacity_ = kInPlaceUnits;
  char16_t inPlace_[kInPlaceUnits] = {u'\0', u'\0'};
};

}  // namespace s::xml
