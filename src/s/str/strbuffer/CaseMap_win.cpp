#include <windows.h>

#include "s/str/strbuffer/CaseMap.h"

namespace s::str::strbuffer {
namespace {

// The tables start as identity, so mapping the ranges in place gives the mapping.
// Surrogates (D800-DFFF) are left out: in one buffer, DBFF followed by DC00 would
// read as a pair.
void mapRanges(char16_t* table, DWORD (WINAPI* map)(LPWSTR, DWORD)) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  map(reinterpret_cast<LPWSTR>(table), 0xD800);
  map(reinterpret_cast<LPWSTR>(table + 0xE000), 0x2000);
}

}  // namespace

void fillPlatformCaseTables(char16_t* lower, char16_t* upper) {
  mapRanges(lower, CharLowerBuffW);
  mapRanges(upper, CharUpperBuffW);
}

}  // namespace s::str::strbuffer
