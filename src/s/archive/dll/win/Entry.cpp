#include "s/archive/dll/win/Entry.h"

#include "s/archive/dll/ResourceKinds.h"

namespace s::archive::dll::win {

void Entry::reset() {
  size_ = 0;
  nameIsNumber_ = true;
  nameNumber_ = 0;
  nameText_.clear();
  typeIsKind_ = true;
  kind_ = 0;
  typeText_.clear();
  language_ = sublanguage_ = 0;
  handle_ = nullptr;
  holdsBytes_ = false;
  held_ = {};
}

void Entry::setNameNumber(uint16_t number) {
  nameIsNumber_ = true;
  nameNumber_ = number;
  nameText_.clear();
}

void Entry::setName(std::u16string_view text) {
  nameIsNumber_ = false;
  nameNumber_ = 0;
  nameText_.assign(text);
}

void Entry::setKind(int kind) {
  typeIsKind_ = true;
  kind_ = kind;
  typeText_.clear();
}

void Entry::setType(int typeNumber) { setKind(ResourceKinds::kindOfType(typeNumber)); }

void Entry::setType(std::u16string_view text) {
  typeIsKind_ = false;
  kind_ = 0;
  typeText_.assign(text);
}

int Entry::getTypeNumber() const { return ResourceKinds::typeOfKind(kind_); }

void Entry::holdBytes(const uint8_t* bytes, size_t size) {
  held_.assign(bytes, bytes + size);
  holdsBytes_ = true;
  size_ = static_cast<int64_t>(size);
}

}  // namespace s::archive::dll::win
