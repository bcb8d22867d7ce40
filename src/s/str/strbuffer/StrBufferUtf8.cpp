// StrBuffer: UTF-8 conversions (the engine is in Utf8.cpp).
#include <cstring>
#include <string>

#include "s/base/Memory.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/str/strbuffer/Utf8.h"

namespace s::str::strbuffer {
namespace {

// Below this many units the output is sized for the worst case (3 bytes a unit)
// and trimmed; above it the exact size is counted first, so a large text does not
// briefly need three times its UTF-8 size.
constexpr size_t kWorstCaseSizingLimit = 64 * 1024;

Utf8Mode modeFor(bool lossless) { return lossless ? Utf8Mode::kEscapeBytes : Utf8Mode::kReplace; }

}  // namespace

void StrBuffer::decodeUtf8Into(std::string_view bytes, bool append, bool lossless) {
  if (!append) clear();
  if (bytes.empty()) return;
  // No byte yields more than one unit, so the byte count is room enough.
  growFor(bytes.size());
  length_ += decodeUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), units_ + length_,
                        modeFor(lossless));
}

std::string StrBuffer::encodeAllUtf8(bool lossless) const {
  std::string out;
  if (!lossless) {
    appendUtf8To(out);
    return out;
  }
  out.resize(encodedUtf8Length(units_, length_, Utf8Mode::kEscapeBytes));
  if (!out.empty()) {
    strbuffer::encodeUtf8(units_, length_, reinterpret_cast<uint8_t*>(out.data()), Utf8Mode::kEscapeBytes);
  }
  return out;
}

void StrBuffer::appendUtf8To(std::string& out) const {
  if (!length_) return;
  size_t room;
  if (length_ <= kWorstCaseSizingLimit) {
    room = length_ * 3;
  } else {
    room = encodedUtf8Length(units_, length_, Utf8Mode::kReplace);
  }
  const size_t start = out.size();
  size_t total;
  if (!base::checkedAdd(start, room, &total)) base::dieOutOfMemory(SIZE_MAX);
  out.resize(total);
  const size_t written =
      strbuffer::encodeUtf8(units_, length_, reinterpret_cast<uint8_t*>(out.data()) + start, Utf8Mode::kReplace);
  out.resize(start + written);
}

std::string StrBuffer::toUtf8() const { return encodeAllUtf8(false); }
std::string StrBuffer::toUtf8Lossless() const { return encodeAllUtf8(true); }
void StrBuffer::assignUtf8(std::string_view utf8) { decodeUtf8Into(utf8, false, false); }
void StrBuffer::appendUtf8(std::string_view utf8) { decodeUtf8Into(utf8, true, false); }
void StrBuffer::assignUtf8Lossless(std::string_view bytes) { decodeUtf8Into(bytes, false, true); }
void StrBuffer::appendUtf8Lossless(std::string_view bytes) { decodeUtf8Into(bytes, true, true); }

void StrBuffer::fromUtf8(const char* bytes, size_t count, bool append) {
  if (!bytes) {
    count = 0;
  } else if (count == kAll) {
    count = std::strlen(bytes);
  }
  decodeUtf8Into(std::string_view(bytes ? bytes : "", count), append, false);
}

}  // namespace s::str::strbuffer
