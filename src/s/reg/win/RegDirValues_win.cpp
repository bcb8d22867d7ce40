// RegDir: typed values.
#include <cstring>
#include <string>

#include "s/reg/win/NtRegistry.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strarray/StrArray.h"

namespace s::reg::win {

namespace {

// The text of size bytes of UTF-16 data, ending at its first zero or where the data
// ends, whichever comes first: registry texts need not hold their terminating zero.
std::u16string boundedText(const uint8_t* data, size_t size) {
  std::u16string text(size / sizeof(char16_t), u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
  const size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return text;
}

}  // namespace

bool RegDir::queryValue(Text name, uint32_t* type, size_t* size, int64_t expectedType) {
  uint32_t foundType = 0;
  const bool found = isOpen() && nt::queryValue(key_, name, &foundType, &data_);
  if (!found || (expectedType >= 0 && foundType != static_cast<uint64_t>(expectedType))) {
    if (type) *type = 0;
    if (size) *size = 0;
    if (!found) data_.clear();
    return false;
  }
  if (type) *type = foundType;
  if (size) *size = data_.getCount();
  return true;
}

size_t RegDir::valueSize(Text name) {
  size_t size = 0;
  return queryValue(name, nullptr, &size) ? size : 0;
}

bool RegDir::readSized(Text name, size_t size, void* out) {
  size_t found = 0;
  if (!queryValue(name, nullptr, &found) || found != size) return false;
  std::memcpy(out, data_.data(), size);
  return true;
}

uint8_t RegDir::getU08(Text name, uint8_t defaultValue) { return static_cast<uint8_t>(getU32(name, defaultValue)); }
uint16_t RegDir::getU16(Text name, uint16_t defaultValue) {
  return static_cast<uint16_t>(getU32(name, defaultValue));
}
uint32_t RegDir::getU32(Text name, uint32_t defaultValue) {
  uint32_t value = 0;
  return readSized(name, sizeof value, &value) ? value : defaultValue;
}
uint64_t RegDir::getU64(Text name, uint64_t defaultValue) {
  uint64_t value = 0;
  return readSized(name, sizeof value, &value) ? value : defaultValue;
}
int8_t RegDir::getS08(Text name, int8_t defaultValue) {
  return static_cast<int8_t>(getU32(name, static_cast<uint32_t>(defaultValue)));
}
int16_t RegDir::getS16(Text name, int16_t defaultValue) {
  return static_cast<int16_t>(getU32(name, static_cast<uint32_t>(defaultValue)));
}
int32_t RegDir::getS32(Text name, int32_t defaultValue) {
  return static_cast<int32_t>(getU32(name, static_cast<uint32_t>(defaultValue)));
}
int64_t RegDir::getS64(Text name, int64_t defaultValue) {
  return static_cast<int64_t>(getU64(name, static_cast<uint64_t>(defaultValue)));
}
float RegDir::getFloat(Text name, float defaultValue) {
  float value = 0;
  return readSized(name, sizeof value, &value) ? value : defaultValue;
}
double RegDir::getDouble(Text name, double defaultValue) {
  double value = 0;
  return readSized(name, sizeof value, &value) ? value : defaultValue;
}
bool RegDir::getBool(Text name, bool defaultValue) {
  uint32_t value = 0;
  return readSized(name, sizeof value, &value) ? value != 0 : defaultValue;
}

bool RegDir::getString(Text name, std::u16string* text, bool* wasExpandable, bool expand) {
  uint32_t type = 0;
  size_t size = 0;
  if (wasExpandable) *wasExpandable = false;
  if (!queryValue(name, &type, &size) || (type != kRegSz && type != kRegExpandSz)) return false;
  *text = boundedText(data_.data(), size);
  if (type == kRegExpandSz) {
    if (wasExpandable) *wasExpandable = true;
    if (expand) *text = nt::expandEnvironment(*text);
  }
  return true;
}

bool RegDir::getStrings(Text name, str::strarray::StrArray* texts) {
  size_t size = 0;
  if (!queryValue(name, nullptr, &size, kRegMultiSz) || size <= 3) return false;
  // Texts separated by zeros, bounded by the data (a last text without its zero
  // counts too); the list ends at an empty text.
  const std::u16string all = [&] {
    std::u16string units(size / sizeof(char16_t), u'\0');
    if (!units.empty()) std::memcpy(units.data(), data_.data(), units.size() * sizeof(char16_t));
    return units;
  }();
  const size_t before = texts->count();
  size_t start = 0;
  while (start < all.size()) {
    size_t stop = all.find(u'\0', start);
    if (stop == std::u16string::npos) stop = all.size();
    if (stop == start) break;
    texts->appendCopy(std::u16string_view(all).substr(start, stop - start));
    start = stop + 1;
  }
  return texts->count() > before;
}

bool RegDir::getBytes(Text name, col::_array::ArrayU08* bytes) {
  size_t size = 0;
  if (!queryValue(name, nullptr, &size)) return false;
  bytes->clear();
  bytes->append(data_.data(), size, 0);
  return true;
}

bool RegDir::deleteValue(Text name) {
  uint32_t type = 0;
  if (!isOpen() || !queryValue(name, &type, nullptr)) return false;
  return nt::deleteValue(key_, name);
}

bool RegDir::setValue(Text name, uint32_t type, const void* data, size_t size) {
  if (!createKey()) return false;
  return nt::setValue(key_, name, type, data, size);
}

bool RegDir::setU32(Text name, uint32_t value) { return setValue(name, kRegDword, &value, sizeof value); }
bool RegDir::setU64(Text name, uint64_t value) { return setValue(name, kRegBinary, &value, sizeof value); }
bool RegDir::setFloat(Text name, float value) { return setValue(name, kRegBinary, &value, sizeof value); }
bool RegDir::setDouble(Text name, double value) { return setValue(name, kRegBinary, &value, sizeof value); }

bool RegDir::setText(Text name, uint32_t type, Text text) {
  // With its terminating zero: 2 x length + 2 bytes.
  const std::u16string terminated(text);
  return setValue(name, type, terminated.c_str(), (terminated.size() + 1) * sizeof(char16_t));
}

bool RegDir::setString(Text name, Text text) { return setText(name, kRegSz, text); }
bool RegDir::setExpandString(Text name, Text text) { return setText(name, kRegExpandSz, text); }

bool RegDir::setStrings(Text name, const str::strarray::StrArray& texts) {
  std::u16string all;
  for (size_t i = 0; i < texts.count(); ++i) {
    all.append(texts.textAt(i)->view());
    all.push_back(u'\0');
  }
  all.push_back(u'\0');
  return setValue(name, kRegMultiSz, all.data(), all.size() * sizeof(char16_t));
}

bool RegDir::setBytes(Text name, const void* bytes, size_t count) { return setValue(name, kRegBinary, bytes, count); }

}  // namespace s::reg::win
