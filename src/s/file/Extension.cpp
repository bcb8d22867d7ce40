#include "s/file/Extension.h"

#include "s/base/IComparator.h"
#include "s/str/strbuffer/CaseMap.h"

namespace s::file {

namespace {

int compareTexts(const std::u16string& a, const std::u16string& b, bool ignoreCase) {
  const size_t shorter = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < shorter; ++i) {
    const char16_t x = ignoreCase ? str::strbuffer::CaseMap::toLowerAscii(a[i]) : a[i];
    const char16_t y = ignoreCase ? str::strbuffer::CaseMap::toLowerAscii(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

uint32_t hashOf(const std::u16string& text, bool ignoreCase) {
  // Rotate left by one, then mix in the unit.
  uint32_t hash = 0;
  for (char16_t unit : text) {
    hash = ((hash << 1) | (hash >> 31)) ^ (ignoreCase ? str::strbuffer::CaseMap::toLowerAscii(unit) : unit);
  }
  return hash;
}

}  // namespace

int Extension::compareTo(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compare(this, other);
  const auto* extension = dynamic_cast<const Extension*>(other);
  if (!extension) return base::IComparable::compareTo(other, nullptr);
  return compareTexts(text_, extension->text_, false);
}

int Extension::compareToIgnoreCase(const base::IComparable* other, const base::IComparator* comparator) const {
  if (comparator) return comparator->compareIgnoreCase(this, other);
  const auto* extension = dynamic_cast<const Extension*>(other);
  if (!extension) return base::IComparable::compareTo(other, nullptr);
  return compareTexts(text_, extension->text_, true);
}

uint32_t Extension::hashCode() const { return hashOf(text_, false); }

uint32_t Extension::hashCodeIgnoreCase() const { return hashOf(text_, true); }

}  // namespace s::file
