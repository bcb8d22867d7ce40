#include "s/xml/Attribute.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "s/base/Memory.h"
#include "s/str/strbuffer/Utf8.h"

namespace s::xml {

Attribute::~Attribute() { freeBlock(); }

void Attribute::freeBlock() {
  if (units_ != inPlace_) std::free(units_);
  units_ = inPlace_;
  capacity_ = kInPlaceUnits;
}

void Attribute::makeRoom(size_t units) {
  if (units <= capacity_) return;
  size_t bytes = 0;
  if (!base::checkedMul(units, sizeof(char16_t), &bytes)) base::dieOutOfMemory(SIZE_MAX);
  freeBlock();
  units_ = static_cast<char16_t*>(base::allocOrDie(bytes));
  capacity_ = units;
}

void Attribute::assign(std::u16string_view name, std::u16string_view value) {
  size_t total = 0;
  if (!base::checkedAdd(name.size(), value.size(), &total) || !base::checkedAdd(total, 2, &total)) {
    base::dieOutOfMemory(SIZE_MAX);
  }
  // The views may point into this record's own block, which makeRoom frees: build
  // the new content in a fresh record then.
  if (holds(name.data()) || holds(value.data())) {
    const std::u16string copy = std::u16string(name) + u'\0' + std::u16string(value);
    const std::u16string_view text(copy);
    assign(text.substr(0, name.size()), text.substr(name.size() + 1));
    return;
  }
  makeRoom(total);
  if (!name.empty()) std::memcpy(units_, name.data(), name.size() * sizeof(char16_t));
  units_[name.size()] = 0;
  char16_t* valueStart = units_ + name.size() + 1;
  if (!value.empty()) std::memcpy(valueStart, value.data(), value.size() * sizeof(char16_t));
  valueStart[value.size()] = 0;
  nameLength_ = name.size();
  valueLength_ = value.size();
}

void Attribute::assignUtf8(std::string_view name, std::string_view value) {
  using str::strbuffer::decodeUtf8;
  using str::strbuffer::Utf8Mode;
  // No byte decodes to more than one unit, so the byte counts bound the unit counts.
  size_t total = 0;
  if (!base::checkedAdd(name.size(), value.size(), &total) || !base::checkedAdd(total, 2, &total)) {
    base::dieOutOfMemory(SIZE_MAX);
  }
  makeRoom(total);
  nameLength_ = decodeUtf8(reinterpret_cast<const uint8_t*>(name.data()), name.size(), units_, Utf8Mode::kReplace);
  units_[nameLength_] = 0;
  char16_t* valueStart = units_ + nameLength_ + 1;
  valueLength_ = decodeUtf8(reinterpret_cast<const uint8_t*>(value.data()), value.size(), valueStart, Utf8Mode::kReplace);
  valueStart[valueLength_] = 0;
}

void Attribute::clear() {
  if (capacity_ > kKeptUnits) freeBlock();
  nameLength_ = 0;
  valueLength_ = 0;
  units_[0] = units_[1] = 0;
}

}  // namespace s::xml
