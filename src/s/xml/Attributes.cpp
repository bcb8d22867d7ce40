#include "s/xml/Attributes.h"

#include "s/str/strbuffer/CaseMap.h"
#include "s/xml/AttrFactory.h"

namespace s::xml {

namespace {

// A list that grew past this many records gives its storage back when cleared.
constexpr size_t kKeptCapacity = 64;

}  // namespace

Attributes::Attributes() { records_.setDisposer(&AttrFactory::instance()); }

bool Attributes::namesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  using str::strbuffer::CaseMap;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && CaseMap::toLower(a[i]) != CaseMap::toLower(b[i])) return false;
  }
  return true;
}

size_t Attributes::indexOf(std::u16string_view name) const {
  for (size_t i = 0; i < count(); ++i) {
    if (namesEqual(at(i)->name(), name)) return i;
  }
  return kNone;
}

Attribute* Attributes::find(std::u16string_view name) const {
  const size_t index = indexOf(name);
  return index == kNone ? nullptr : at(index);
}

Attribute* Attributes::append(std::u16string_view name, std::u16string_view value) {
  Attribute* record = AttrFactory::instance().takeRecord();
  record->assign(name, value);
  records_.append(record);
  return record;
}

size_t Attributes::removeAll(std::u16string_view name) {
  size_t removed = 0;
  for (size_t i = count(); i-- > 0;) {
    if (namesEqual(at(i)->name(), name)) {
      removeAt(i);
      ++removed;
    }
  }
  return removed;
}

void Attributes::clear() {
  if (records_.capacity() > kKeptCapacity) {
    records_.freeStorage();
  } else {
    records_.clear();
  }
}

}  // namespace s::xml
