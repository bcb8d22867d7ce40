#pragma once
// The attribute records of one element, in insertion order, which is also the order
// they are written in. The list owns its records (they go back to AttrFactory when
// removed). Duplicate names can exist in memory; lookups take the first. Names
// compare case-insensitively, through the platform's case mapping.
#include <cstddef>
#include <string_view>

#include "s/col/_array/ArrayP.h"
#include "s/xml/Attribute.h"

namespace s::xml {

class Attributes {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  Attributes();
  ~Attributes() = default;
  Attributes(const Attributes&) = delete;
  Attributes& operator=(const Attributes&) = delete;

  size_t count() const { return records_.getCount(); }
  Attribute* at(size_t index) const { return records_.getAs<Attribute>(index); }

  // The index of the first record named name (ignoring case), or kNone. The empty
  // name finds the first text run.
  size_t indexOf(std::u16string_view name) const;
  Attribute* find(std::u16string_view name) const;

  // Appends a new record and returns it (the list keeps it).
  Attribute* append(std::u16string_view name, std::u16string_view value);
  // Takes ownership of a record from AttrFactory.
  void append(Attribute* record) { records_.append(record); }
  void removeAt(size_t index) { records_.removeRange(index, 1); }
  // Removes every record named name; returns how many went.
  size_t removeAll(std::u16string_view name);
  // Removes every record, keeping the list's storage when it is small.
  void clear();

  static bool namesEqual(std::u16string_view a, std::u16string_view b);

 private:
  col::_array::ArrayP records_;
};

}  // namespace s::xml
