// Node: typed attribute values.
#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Escaping.h"
#include "s/xml/Node.h"

namespace s::xml {

namespace {

using str::strbuffer::StrBuffer;

// Number and hex forms need no escaping under either rule set.
template <class Format>
void appendFormatted(Attributes& attributes, std::u16string_view name, Format format) {
  StrBuffer text;
  format(text);
  attributes.append(name, text.view());
}

// The unescaped value of the first record named name into text; false when missing.
bool plainValue(const Attributes& attributes, std::u16string_view name, StrBuffer& text) {
  const Attribute* record = attributes.find(name);
  if (!record) return false;
  Escaping::unescape(name, record->value(), text);
  return true;
}

}  // namespace

void Node::setU08(std::u16string_view name, uint8_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendUInt8(value); });
}
void Node::setU16(std::u16string_view name, uint16_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendUInt16(value); });
}
void Node::setU32(std::u16string_view name, uint32_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendUInt32(value); });
}
void Node::setU64(std::u16string_view name, uint64_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendInt64(static_cast<int64_t>(value)); });
}
void Node::setS08(std::u16string_view name, int8_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendInt8(value); });
}
void Node::setS16(std::u16string_view name, int16_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendInt16(value); });
}
void Node::setS32(std::u16string_view name, int32_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendInt32(value); });
}
void Node::setS64(std::u16string_view name, int64_t value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendInt64(value); });
}
void Node::setFloat(std::u16string_view name, float value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendFloat(value); });
}
void Node::setDouble(std::u16string_view name, double value) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendDouble(value); });
}
void Node::setBool(std::u16string_view name, bool value) { attributes_.append(name, value ? u"1" : u"0"); }

void Node::setText(std::u16string_view name, std::u16string_view text) {
  StrBuffer escaped;
  Escaping::escape(name, text, escaped);
  attributes_.append(name, escaped.view());
}

void Node::setHex64(std::u16string_view name, const uint64_t* values, size_t count) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendHex64(values, count); });
}
void Node::setHex64AsWords(std::u16string_view name, const uint64_t* values, size_t count) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendHex64AsWords(values, count); });
}
void Node::setHex32(std::u16string_view name, const uint32_t* values, size_t count) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendHex32(values, count); });
}
void Node::setHex16(std::u16string_view name, const uint16_t* values, size_t count) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendHex16(values, count); });
}
void Node::setBytes(std::u16string_view name, const uint8_t* bytes, size_t count) {
  appendFormatted(attributes_, name, [&](StrBuffer& text) { text.appendHex8(bytes, count); });
}

const char16_t* Node::rawAttribute(std::u16string_view name, const char16_t* defaultValue) const {
  const Attribute* record = attributes_.find(name);
  return record ? record->valueData() : defaultValue;
}

bool Node::getBool(std::u16string_view name, bool defaultValue) const {
  StrBuffer text;
  if (!plainValue(attributes_, name, text)) return defaultValue;
  return text.startsWith(u"1") || text.startsWith(u"true");
}

// Signed and unsigned 8/16/32-bit values parse to 32 bits and are cut to their width.
uint8_t Node::getU08(std::u16string_view name, uint8_t defaultValue) const {
  return static_cast<uint8_t>(getU32(name, defaultValue));
}
uint16_t Node::getU16(std::u16string_view name, uint16_t defaultValue) const {
  return static_cast<uint16_t>(getU32(name, defaultValue));
}
uint32_t Node::getU32(std::u16string_view name, uint32_t defaultValue) const {
  StrBuffer text;
  if (!plainValue(attributes_, name, text)) return defaultValue;
  // An unsigned parse that takes a sign as C's strtoul does: "-1" is 4294967295, so a
  // signed value written here reads back as the registry gives it. Magnitudes beyond
  // 32 bits saturate.
  const int64_t value = text.parseInt64();
  if (value > int64_t{UINT32_MAX} || value < -int64_t{UINT32_MAX}) return UINT32_MAX;
  return static_cast<uint32_t>(value);
}
uint64_t Node::getU64(std::u16string_view name, uint64_t defaultValue) const {
  // Written signed ("%I64d"), so read signed and taken back bit for bit.
  return static_cast<uint64_t>(getS64(name, static_cast<int64_t>(defaultValue)));
}
int8_t Node::getS08(std::u16string_view name, int8_t defaultValue) const {
  return static_cast<int8_t>(getS32(name, defaultValue));
}
int16_t Node::getS16(std::u16string_view name, int16_t defaultValue) const {
  return static_cast<int16_t>(getS32(name, defaultValue));
}
int32_t Node::getS32(std::u16string_view name, int32_t defaultValue) const {
  StrBuffer text;
  return plainValue(attributes_, name, text) ? text.parseInt32() : defaultValue;
}
int64_t Node::getS64(std::u16string_view name, int64_t defaultValue) const {
  StrBuffer text;
  return plainValue(attributes_, name, text) ? text.parseInt64() : defaultValue;
}
float Node::getFloat(std::u16string_view name, float defaultValue) const {
  StrBuffer text;
  return plainValue(attributes_, name, text) ? text.parseFloat() : defaultValue;
}
double Node::getDouble(std::u16string_view name, double defaultValue) const {
  StrBuffer text;
  return plainValue(attributes_, name, text) ? text.parseDouble() : defaultValue;
}

bool Node::getText(StrBuffer& target, std::u16string_view name, std::u16string_view defaultValue,
                   bool append) const {
  if (!append) target.clear();
  if (plainValue(attributes_, name, target)) return true;
  target.append(defaultValue);
  return false;
}

bool Node::getBytes(std::u16string_view name, col::_array::ArrayU08* out) const {
  StrBuffer text;
  if (!plainValue(attributes_, name, text)) return false;
  text.hexToBytes(out);
  return true;
}

}  // namespace s::xml
