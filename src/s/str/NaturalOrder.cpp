#include "s/str/NaturalOrder.h"

#include "s/str/strbuffer/CaseMap.h"

namespace s::str {

namespace {

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

// Compares the digit runs starting at a[i] and b[j] by value (leading zeros aside,
// the longer run is the larger number) and moves i and j past them. <0, 0 or >0.
int compareNumbers(std::u16string_view a, size_t& i, std::u16string_view b, size_t& j) {
  while (i < a.size() && a[i] == u'0' && i + 1 < a.size() && isDigit(a[i + 1])) ++i;
  while (j < b.size() && b[j] == u'0' && j + 1 < b.size() && isDigit(b[j + 1])) ++j;
  size_t endA = i, endB = j;
  while (endA < a.size() && isDigit(a[endA])) ++endA;
  while (endB < b.size() && isDigit(b[endB])) ++endB;
  int result = 0;
  if (endA - i != endB - j) {
    result = endA - i < endB - j ? -1 : 1;
  } else {
    const int order = a.substr(i, endA - i).compare(b.substr(j, endB - j));
    result = order < 0 ? -1 : order > 0 ? 1 : 0;
  }
  i = endA;
  j = endB;
  return result;
}

}  // namespace

bool naturalLess(std::u16string_view a, std::u16string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      const int order = compareNumbers(a, i, b, j);
      if (order != 0) return order < 0;
      continue;
    }
    const char16_t x = strbuffer::CaseMap::toLower(a[i]);
    const char16_t y = strbuffer::CaseMap::toLower(b[j]);
    if (x != y) return x < y;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return j < b.size();  // the shorter first
  return a < b;  // equal but for case or leading zeros: by units
}

}  // namespace s::str
