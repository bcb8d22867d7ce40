// StrBuffer: searching, region tests, trimming, replacing and prefixes.
#include <cstring>
#include <functional>
#include <string>

#include "s/str/strbuffer/CaseMap.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {
namespace {

char16_t foldAscii(char16_t unit) { return CaseMap::toLowerAscii(unit); }

bool setContains(std::u16string_view set, char16_t unit, bool ignoreCase) {
  if (!ignoreCase) return set.find(unit) != std::u16string_view::npos;
  const char16_t folded = foldAscii(unit);
  for (char16_t member : set) {
    if (foldAscii(member) == folded) return true;
  }
  return false;
}

// Whether text matches the units at `units`, folding ASCII case when asked.
bool matchesAt(const char16_t* units, std::u16string_view text, bool ignoreCase) {
  if (text.empty()) return true;
  if (!ignoreCase) return std::memcmp(units, text.data(), text.size() * sizeof(char16_t)) == 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (foldAscii(units[i]) != foldAscii(text[i])) return false;
  }
  return true;
}

// Equal units through the platform's lower-case mapping.
bool equalFolded(const char16_t* a, const char16_t* b, size_t count) {
  const char16_t* lower = CaseMap::lowerTable();
  for (size_t i = 0; i < count; ++i) {
    if (a[i] != b[i] && lower[a[i]] != lower[b[i]]) return false;
  }
  return true;
}

bool pointsIntoText(std::u16string_view part, const char16_t* units, size_t capacity) {
  if (part.empty() || !units) return false;
  std::less_equal<const char16_t*> lessEqual;
  return lessEqual(units, part.data()) && lessEqual(part.data(), units + capacity);
}

}  // namespace

bool StrBuffer::isWhiteSpace(char16_t unit) {
  return unit == u' ' || unit == u'\n' || unit == 0x3000 || unit == u'\t' || unit == u'\r';
}

// --- Units and sets ------------------------------------------------------------

bool StrBuffer::findUnit(char16_t unit, size_t start, size_t* at) const {
  for (size_t i = start; i < length_; ++i) {
    if (units_[i] == unit) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findUnitIgnoreCase(char16_t unit, size_t start, size_t* at) const {
  const char16_t folded = foldAscii(unit);
  for (size_t i = start; i < length_; ++i) {
    if (foldAscii(units_[i]) == folded) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findAnyOf(std::u16string_view set, size_t start, size_t* at) const {
  for (size_t i = start; i < length_; ++i) {
    if (setContains(set, units_[i], false)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findAnyOfIgnoreCase(std::u16string_view set, size_t start, size_t* at) const {
  for (size_t i = start; i < length_; ++i) {
    if (setContains(set, units_[i], true)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

// Backward searches start at min(start, length - 1); kFromEnd is simply a start
// beyond any text this type is used for.
bool StrBuffer::findLastUnit(char16_t unit, size_t start, size_t* at) const {
  if (!length_) return false;
  for (size_t i = (start < length_ ? start : length_ - 1) + 1; i-- > 0;) {
    if (units_[i] == unit) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findLastUnitIgnoreCase(char16_t unit, size_t start, size_t* at) const {
  if (!length_) return false;
  const char16_t folded = foldAscii(unit);
  for (size_t i = (start < length_ ? start : length_ - 1) + 1; i-- > 0;) {
    if (foldAscii(units_[i]) == folded) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findLastAnyOf(std::u16string_view set, size_t start, size_t* at) const {
  if (!length_) return false;
  for (size_t i = (start < length_ ? start : length_ - 1) + 1; i-- > 0;) {
    if (setContains(set, units_[i], false)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findLastAnyOfIgnoreCase(std::u16string_view set, size_t start, size_t* at) const {
  if (!length_) return false;
  for (size_t i = (start < length_ ? start : length_ - 1) + 1; i-- > 0;) {
    if (setContains(set, units_[i], true)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

// --- Texts ---------------------------------------------------------------------

bool StrBuffer::findText(std::u16string_view text, size_t start, bool ignoreCase, size_t* at) const {
  if (start > length_ || text.size() > length_ - start) return false;
  const size_t lastBegin = length_ - text.size();
  for (size_t i = start; i <= lastBegin; ++i) {
    if (matchesAt(units_ + i, text, ignoreCase)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::findLastText(std::u16string_view text, size_t start, bool ignoreCase, size_t* at) const {
  if (text.size() > length_) return false;
  const size_t lastBegin = length_ - text.size();
  for (size_t i = (start < lastBegin ? start : lastBegin) + 1; i-- > 0;) {
    if (matchesAt(units_ + i, text, ignoreCase)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

bool StrBuffer::find(std::u16string_view text, size_t start, size_t* at) const {
  return findText(text, start, false, at);
}

bool StrBuffer::findIgnoreCase(std::u16string_view text, size_t start, size_t* at) const {
  return findText(text, start, true, at);
}

bool StrBuffer::findLast(std::u16string_view text, size_t start, size_t* at) const {
  return findLastText(text, start, false, at);
}

bool StrBuffer::findLastIgnoreCase(std::u16string_view text, size_t start, size_t* at) const {
  return findLastText(text, start, true, at);
}

// --- Region tests and partial comparisons ----------------------------------------

bool StrBuffer::regionEquals(size_t index, std::u16string_view other, size_t otherStart, size_t n) const {
  if (index > length_ || otherStart > other.size()) return false;
  const size_t mine = length_ - index;
  const size_t theirs = other.size() - otherStart;
  if (n == kAll) {
    if (mine != theirs) return false;
    n = mine;
  } else if (n > mine || n > theirs) {
    return false;
  }
  return n == 0 || std::memcmp(units_ + index, other.data() + otherStart, n * sizeof(char16_t)) == 0;
}

bool StrBuffer::regionEqualsIgnoreCase(size_t index, std::u16string_view other, size_t otherStart,
                                       size_t n) const {
  if (index > length_ || otherStart > other.size()) return false;
  const size_t mine = length_ - index;
  const size_t theirs = other.size() - otherStart;
  if (n == kAll) {
    if (mine != theirs) return false;
    n = mine;
  } else if (n > mine || n > theirs) {
    return false;
  }
  return equalFolded(units_ + index, other.data() + otherStart, n);
}

bool StrBuffer::startsWith(std::u16string_view text) const { return regionEquals(0, text, 0, text.size()); }

bool StrBuffer::startsWithIgnoreCase(std::u16string_view text) const {
  return regionEqualsIgnoreCase(0, text, 0, text.size());
}

bool StrBuffer::endsWith(std::u16string_view text) const {
  return text.size() <= length_ && regionEquals(length_ - text.size(), text, 0, text.size());
}

bool StrBuffer::endsWithIgnoreCase(std::u16string_view text) const {
  return text.size() <= length_ && regionEqualsIgnoreCase(length_ - text.size(), text, 0, text.size());
}

int StrBuffer::compareFrom(size_t index, std::u16string_view other, size_t n) const {
  if (index > length_) return -1;
  std::u16string_view mine = view().substr(index);
  if (n != kAll) {
    mine = mine.substr(0, n);
    other = other.substr(0, n);
  }
  return compareViews(mine, other, false);
}

int StrBuffer::compareFromIgnoreCase(size_t index, std::u16string_view other, size_t n) const {
  if (index > length_) return -1;
  std::u16string_view mine = view().substr(index);
  if (n != kAll) {
    mine = mine.substr(0, n);
    other = other.substr(0, n);
  }
  return compareViews(mine, other, true);
}

// --- Trimming ----------------------------------------------------------------------

void StrBuffer::trimRight(size_t minLength) {
  while (length_ > minLength && isWhiteSpace(units_[length_ - 1])) --length_;
}

void StrBuffer::trimRightOf(std::u16string_view set, size_t minLength) {
  while (length_ > minLength && setContains(set, units_[length_ - 1], false)) --length_;
}

void StrBuffer::trimLeft() {
  size_t first = 0;
  while (first < length_ && isWhiteSpace(units_[first])) ++first;
  keepRange(first, length_);
}

void StrBuffer::trimLeftOf(std::u16string_view set) {
  size_t first = 0;
  while (first < length_ && setContains(set, units_[first], false)) ++first;
  keepRange(first, length_);
}

// --- Replacing ---------------------------------------------------------------------

size_t StrBuffer::replaceAllImpl(std::u16string_view from, std::u16string_view to, bool ignoreCase) {
  if (from.empty()) return 0;
  if (pointsIntoText(from, units_, capacity_) || pointsIntoText(to, units_, capacity_)) {
    // Parts of this very text would change under us: work from copies.
    const std::u16string fromCopy(from);
    const std::u16string toCopy(to);
    return replaceAllImpl(fromCopy, toCopy, ignoreCase);
  }
  size_t replaced = 0;
  size_t at = 0;
  if (from.size() == to.size()) {
    for (size_t start = 0; findText(from, start, ignoreCase, &at); start = at + from.size()) {
      std::memcpy(units_ + at, to.data(), to.size() * sizeof(char16_t));
      ++replaced;
    }
    return replaced;
  }
  // Different lengths: rebuild left to right from the unchanged pieces.
  std::u16string rebuilt;
  size_t start = 0;
  while (findText(from, start, ignoreCase, &at)) {
    rebuilt.append(units_ + start, at - start);
    rebuilt.append(to);
    start = at + from.size();
    ++replaced;
  }
  if (!replaced) return 0;
  rebuilt.append(units_ + start, length_ - start);
  assign(rebuilt);
  return replaced;
}

size_t StrBuffer::replaceAll(std::u16string_view from, std::u16string_view to) {
  return replaceAllImpl(from, to, false);
}

size_t StrBuffer::replaceAllIgnoreCase(std::u16string_view from, std::u16string_view to) {
  return replaceAllImpl(from, to, true);
}

// --- Prefixes ----------------------------------------------------------------------

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLast(char16_t unit) const {
  size_t at = 0;
  return findLastUnit(unit, kFromEnd, &at) ? substring(0, at) : of(u"");
}

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLastIgnoreCase(char16_t unit) const {
  size_t at = 0;
  return findLastUnitIgnoreCase(unit, kFromEnd, &at) ? substring(0, at) : of(u"");
}

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLastAnyOf(std::u16string_view set) const {
  size_t at = 0;
  return findLastAnyOf(set, kFromEnd, &at) ? substring(0, at) : of(u"");
}

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLastAnyOfIgnoreCase(std::u16string_view set) const {
  size_t at = 0;
  return findLastAnyOfIgnoreCase(set, kFromEnd, &at) ? substring(0, at) : of(u"");
}

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLast(std::u16string_view text) const {
  size_t at = 0;
  return findLast(text, kFromEnd, &at) ? substring(0, at) : of(u"");
}

thread::Owned<StrBuffer> StrBuffer::prefixBeforeLastIgnoreCase(std::u16string_view text) const {
  size_t at = 0;
  return findLastIgnoreCase(text, kFromEnd, &at) ? substring(0, at) : of(u"");
}

}  // namespace s::str::strbuffer
