#pragma once
// Case mapping of single UTF-16 code units, as the platform maps wide characters:
// CharLowerBuffW/CharUpperBuffW on Windows, towlower_l/towupper_l under a C.UTF-8
// locale object that the library creates itself on Linux (never the process-wide
// locale or the user's environment, so results do not depend on how the program was
// started). The platform is asked once for every unit; the answers are kept in two
// tables, so mapping a unit afterwards is one lookup.
//
// Surrogate units map to themselves: texts are mapped unit by unit and nothing
// here knows about surrogate pairs. A mapping that would leave the Basic
// Multilingual Plane keeps the unit unchanged.
#include <cstddef>

namespace s::str::strbuffer {

class CaseMap {
 public:
  static char16_t toLower(char16_t unit) { return lowerTable()[unit]; }
  static char16_t toUpper(char16_t unit) { return upperTable()[unit]; }
  static void toLower(char16_t* units, size_t count);
  static void toUpper(char16_t* units, size_t count);

  // ASCII-only mappings, for the operations whose case rules are ASCII's.
  static char16_t toLowerAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + 32 : unit; }
  static char16_t toUpperAscii(char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - 32 : unit; }

  // The 65536-entry tables, built on first use (thread-safe).
  static const char16_t* lowerTable();
  static const char16_t* upperTable();
};

// Fills lower[u] and upper[u] for every unit u that is not a surrogate, from the
// platform's mapping. The entries for surrogates already hold their own unit and
// must be left alone. Implemented in CaseMap_win.cpp / CaseMap_posix.cpp.
void fillPlatformCaseTables(char16_t* lower, char16_t* upper);

}  // namespace s::str::strbuffer
