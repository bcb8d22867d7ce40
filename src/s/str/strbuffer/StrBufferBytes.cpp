// StrBuffer: conversions into byte arrays, code pages, digests and lists.
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "s/base/Memory.h"
#include "s/col/_array/ArrayU08.h"
#include "s/digest/IDigest.h"
#include "s/digest/Md5.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/CodePage.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/str/strbuffer/Utf8.h"

namespace s::str::strbuffer {
namespace {

// Makes out hold count bytes (content to be written by the caller), plus `extra`
// zero bytes after them that are not counted.
uint8_t* prepareBytes(col::_array::ArrayU08* out, size_t count, size_t extra) {
  size_t withExtra;
  if (__builtin_add_overflow(count, extra, &withExtra)) base::dieOutOfMemory(SIZE_MAX);
  out->clear();
  out->reserve(withExtra);
  out->setCount(count);
  uint8_t* bytes = out->data();
  if (extra) std::memset(bytes + count, 0, extra);
  return bytes;
}

// Copies bytes into out; a terminator of terminatorSize zero bytes follows, counted
// or not.
void storeBytes(const std::string& bytes, col::_array::ArrayU08* out, bool countZero, size_t terminatorSize) {
  const size_t count = bytes.size() + (countZero ? terminatorSize : 0);
  uint8_t* target = prepareBytes(out, count, countZero ? 0 : terminatorSize);
  if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
  if (countZero) std::memset(target + bytes.size(), 0, terminatorSize);
}

}  // namespace

size_t StrBuffer::toUtf8(col::_array::ArrayU08* out, bool countZero) const {
  const size_t bytes = encodedUtf8Length(units_, length_, Utf8Mode::kReplace);
  const size_t count = bytes + (countZero ? 1 : 0);
  uint8_t* target = prepareBytes(out, count, countZero ? 0 : 1);
  strbuffer::encodeUtf8(units_, length_, target, Utf8Mode::kReplace);
  target[bytes] = 0;
  return count;
}

size_t StrBuffer::hexToBytes(col::_array::ArrayU08* out) const {
  const size_t count = length_ / 2;
  uint8_t* target = prepareBytes(out, count, 0);
  return hexToBytes(target, count);
}

bool StrBuffer::toCodePage(uint32_t codePage, std::string& out) const {
  std::string converted;
  if (!CodePage::encode(codePage, units_, length_, converted)) return false;
  out = std::move(converted);
  return true;
}

bool StrBuffer::toCodePage(uint32_t codePage, col::_array::ArrayU08* out, bool countZero) const {
  std::string converted;
  if (!CodePage::encode(codePage, units_, length_, converted)) return false;
  const bool wide = codePage == CodePage::kUtf16Le || codePage == CodePage::kUtf16Be;
  storeBytes(converted, out, countZero, wide ? 2 : 1);
  return true;
}

bool StrBuffer::assignCodePage(uint32_t codePage, std::string_view bytes) {
  std::u16string decoded;
  if (!CodePage::decode(codePage, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), decoded)) {
    return false;
  }
  assign(decoded);
  return true;
}

bool StrBuffer::appendCodePage(uint32_t codePage, std::string_view bytes) {
  std::u16string decoded;
  if (!CodePage::decode(codePage, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), decoded)) {
    return false;
  }
  append(decoded);
  return true;
}

void StrBuffer::digest(digest::IDigest* digest) const {
  digest->restart();
  if (length_) digest->update(units_, length_ * sizeof(char16_t));
  digest->finish();
}

void StrBuffer::md5(uint8_t out[16]) const {
  digest::Md5 md5;
  digest(&md5);
  std::memcpy(out, md5.value(), 16);
}

thread::Owned<strarray::StrArray> StrBuffer::split(char16_t separator) const {
  thread::Owned<strarray::StrArray> pieces(strarray::StrArray::create());
  size_t start = 0;
  while (start < length_) {
    size_t end = start;
    while (end < length_ && units_[end] != separator) ++end;
    if (end > start) pieces->appendCopy(view().substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

thread::Owned<strarray::StrArray> StrBuffer::splitWords() const {
  thread::Owned<strarray::StrArray> words(strarray::StrArray::create());
  std::unordered_set<std::u16string_view> seen;  // views into this text
  size_t start = 0;
  while (start < length_) {
    while (start < length_ && isWhiteSpace(units_[start])) ++start;
    size_t end = start;
    while (end < length_ && !isWhiteSpace(units_[end])) ++end;
    if (end > start) {
      const std::u16string_view word = view().substr(start, end - start);
      if (seen.insert(word).second) words->appendCopy(word);
    }
    start = end;
  }
  return words;
}

}  // namespace s::str::strbuffer
