#include "s/app/SavedValues.h"

#include <charconv>
#include <string>

#include "s/str/Decimal.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::app {

namespace {

using str::strbuffer::StrBuffer;

constexpr SavedValues::Value kTable[] = {
    SavedValues::kConvertTo,  SavedValues::kCompactView,         SavedValues::kSmallWidth,
    SavedValues::kSmallHeight, SavedValues::kLargeWidth,         SavedValues::kLargeHeight,
    SavedValues::kRightClickTransform, SavedValues::kCellWidth, SavedValues::kCellHeight,
    SavedValues::kRowHeight};

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b) { return StrBuffer(a).equalsIgnoreCase(b); }

std::u16string withBackslashes(std::u16string_view path) {
  std::u16string text(path);
  for (char16_t& unit : text) {
    if (unit == u'/') unit = u'\\';
  }
  return text;
}

// An optional sign and decimal digits, nothing else, within 32 bits.
bool parseNumber(std::u16string_view text, int32_t* number) {
  std::string ascii;
  for (char16_t unit : text) {
    if (unit > 0x7F) return false;
    ascii.push_back(static_cast<char>(unit));
  }
  const char* first = ascii.data();
  const char* last = first + ascii.size();
  // from_chars takes "-" but not "+"; a "+" may not be followed by a sign.
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  if (first == last || (plus && *first == '-')) return false;
  const std::from_chars_result result = std::from_chars(first, last, *number);
  return result.ec == std::errc() && result.ptr == last;
}

bool parseFlag(std::u16string_view text, bool* flag) {
  if (equalsIgnoreCase(text, u"true") || text == u"1") {
    *flag = true;
  } else if (equalsIgnoreCase(text, u"false") || text == u"0") {
    *flag = false;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::span<const SavedValues::Value> SavedValues::all() { return kTable; }

const SavedValues::Value* SavedValues::find(std::u16string_view keyPath, std::u16string_view name) {
  const std::u16string path = withBackslashes(keyPath);
  for (const Value& value : kTable) {
    if (equalsIgnoreCase(value.keyPath, path) && equalsIgnoreCase(value.name, name)) return &value;
  }
  return nullptr;
}

int32_t SavedValues::readNumber(map::IMappedData& store, const Value& value) {
  return store.getS32(value.keyPath, value.name, value.defaultNumber);
}

bool SavedValues::readFlag(map::IMappedData& store, const Value& value) {
  return store.getBool(value.keyPath, value.name, value.defaultNumber != 0);
}

std::u16string SavedValues::readText(map::IMappedData& store, const Value& value) {
  const char16_t* text = store.getString(value.keyPath, value.name, value.defaultText ? value.defaultText : u"");
  return text ? std::u16string(text) : std::u16string();
}

void SavedValues::writeNumber(map::IMappedData& store, const Value& value, int32_t number) {
  store.setS32(value.keyPath, value.name, number);
}

void SavedValues::writeFlag(map::IMappedData& store, const Value& value, bool flag) {
  store.setBool(value.keyPath, value.name, flag);
}

void SavedValues::writeText(map::IMappedData& store, const Value& value, std::u16string_view text) {
  store.setString(value.keyPath, value.name, std::u16string(text).c_str());
}

std::u16string SavedValues::readAsText(map::IMappedData& store, const Value& value) {
  switch (value.type) {
    case Type::kNumber:
      return str::decimal(readNumber(store, value));
    case Type::kFlag:
      return readFlag(store, value) ? u"true" : u"false";
    case Type::kText:
      break;
  }
  return readText(store, value);
}

bool SavedValues::writeFromText(map::IMappedData& store, const Value& value, std::u16string_view text) {
  switch (value.type) {
    case Type::kNumber: {
      int32_t number = 0;
      if (!parseNumber(text, &number)) return false;
      writeNumber(store, value, number);
      return true;
    }
    case Type::kFlag: {
      bool flag = false;
      if (!parseFlag(text, &flag)) return false;
      writeFlag(store, value, flag);
      return true;
    }
    case Type::kText:
      break;
  }
  writeText(store, value, text);
  return true;
}

}  // namespace s::app
