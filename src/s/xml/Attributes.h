#pragma once
// The attribute records of one element, in insertion order, which is also the order
// they are written in. The list owns its records (they go back to AttrFactory when
// removed). Duplicate names can exist in memory; lookups take the first. Names
// compare case-insensitively, through the platform's case mapping.
//
// Most elements hold one or two records (a text run, a few values), so the list
// keeps up to two in place and takes heap storage only beyond that.
#include <cstddef>
#include <string_view>

#include "s/xml/Attribute.h"

namespace s::xml {

class Attributes {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  Attributes() = default;
  ~Attributes();
  Attributes(const Attributes&) = delete;
  Attributes& operator=(const Attributes&) = delete;

  size_t count() const { return count_; }
  Attribute* at(size_t index) const { return records_[index]; }

  // The index of the first record named name (ignoring case), or kNone. The empty
  // name finds the first text run.
  size_t indexOf(std::u16string_view name) const;
  Attribute* find(std::u16string_view name) const;

  // Appends a new record and returns it (the list keeps it).
  Attribute* append(std::u16string_view name, std::u16string_view value);
  // Takes ownership of a record from AttrFactory.
  void append(Attribute* record);
  void removeAt(size_t index);
  // Removes every record named name; returns how many went.
  size_t removeAll(std::u16string_view name);
  // Removes every record, keeping the list's storage when it is small.
  void clear();

  static bool namesEqual(std::u16string_view a, std::u16string_view b);

 private:
  static constexpr size_t kInPlace = 2;
  static constexpr size_t kKeptCapacity = 64;

  Attribute* inPlace_[kInPlace] = {};
  Attribute** records_ = inPlace_;
  size_t count_ = 0;
  size_t capacity_ = kInPlace;
};

}  // namespace s::xml
