#include "s/str/strbuffer/CaseMap.h"

namespace s::str::strbuffer {
namespace {

constexpr size_t kUnitCount = 0x10000;

struct CaseTables {
  char16_t lower[kUnitCount];
  char16_t upper[kUnitCount];

  CaseTables() {
    for (size_t unit = 0; unit < kUnitCount; ++unit) lower[unit] = upper[unit] = static_cast<char16_t>(unit);
    fillPlatformCaseTables(lower, upper);
  }
};

// A function-level static: built by the first caller, safely even when two threads
// get there at once, and it lives in static storage rather than on any stack.
const CaseTables& tables() {
  static const CaseTables instance;
  return instance;
}

}  // namespace

const char16_t* CaseMap::lowerTable() { return tables().lower; }
const char16_t* CaseMap::upperTable() { return tables().upper; }

void CaseMap::toLower(char16_t* units, size_t count) {
  const char16_t* table = lowerTable();
  for (size_t i = 0; i < count; ++i) units[i] = table[units[i]];
}

void CaseMap::toUpper(char16_t* units, size_t count) {
  const char16_t* table = upperTable();
  for (size_t i = 0; i < count; ++i) units[i] = table[units[i]];
}

}  // namespace s::str::strbuffer
