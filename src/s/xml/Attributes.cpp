#include "s/xml/Attributes.h"

#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"
#include "s/str/strbuffer/CaseMap.h"
#include "s/xml/AttrFactory.h"

namespace s::xml {

Attributes::~Attributes() {
  clear();
  if (records_ != inPlace_) std::free(records_);
}

bool Attributes::namesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  using str::strbuffer::CaseMap;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && CaseMap::toLower(a[i]) != CaseMap::toLower(b[i])) return false;
  }
  return true;
}

size_t Attributes::indexOf(std::u16string_view name) const {
  for (size_t i = 0; i < count_; ++i) {
    if (namesEqual(records_[i]->name(), name)) return i;
  }
  return kNone;
}

Attribute* Attributes::find(std::u16string_view name) const {
  const size_t index = indexOf(name);
  return index == kNone ? nullptr : records_[index];
}

Attribute* Attributes::append(std::u16string_view name, std::u16string_view value) {
  Attribute* record = AttrFactory::instance().takeRecord();
  record->assign(name, value);
  append(record);
  return record;
}

void Attributes::append(Attribute* record) {
  if (count_ == capacity_) {
    size_t bytes = 0;
    if (!base::checkedMul(capacity_ * 2, sizeof(Attribute*), &bytes)) base::dieOutOfMemory(SIZE_MAX);
    auto** grown = static_cast<Attribute**>(base::allocOrDie(bytes));
    std::memcpy(grown, records_, count_ * sizeof(Attribute*));
    if (records_ != inPlace_) std::free(records_);
    records_ = grown;
    capacity_ *= 2;
  }
  records_[count_++] = record;
}

void Attributes::removeAt(size_t index) {
  if (index >= count_) return;
  Attribute* record = records_[index];
  std::memmove(records_ + index, records_ + index + 1, (count_ - index - 1) * sizeof(Attribute*));
  --count_;
  AttrFactory::instance().giveBackRecord(record);
}

size_t Attributes::removeAll(std::u16string_view name) {
  size_t removed = 0;
  for (size_t i = count_; i-- > 0;) {
    if (namesEqual(records_[i]->name(), name)) {
      removeAt(i);
      ++removed;
    }
  }
  return removed;
}

void Attributes::clear() {
  AttrFactory& factory = AttrFactory::instance();
  for (size_t i = 0; i < count_; ++i) factory.giveBackRecord(records_[i]);
  count_ = 0;
  if (capacity_ > kKeptCapacity) {
    std::free(records_);
    records_ = inPlace_;
    capacity_ = kInPlace;
  }
}

}  // namespace s::xml
