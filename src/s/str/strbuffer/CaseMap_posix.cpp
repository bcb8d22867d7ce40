#include <locale.h>
#include <wctype.h>

#include "s/str/strbuffer/CaseMap.h"

namespace s::str::strbuffer {
namespace {

bool keepsUnit(wint_t mapped) { return mapped > 0xFFFF || (mapped >= 0xD800 && mapped <= 0xDFFF); }

}  // namespace

void fillPlatformCaseTables(char16_t* lower, char16_t* upper) {
  // Our own locale object: the mapping must not follow setlocale() or LANG/LC_ALL.
  // "C.UTF-8" is built into glibc 2.35 and later; older systems spell it "C.utf8".
  locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (!locale) locale = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
  for (wint_t unit = 0; unit <= 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    wint_t lowered;
    wint_t uppered;
    if (locale) {
      lowered = towlower_l(unit, locale);
      uppered = towupper_l(unit, locale);
    } else {
      // Without a UTF-8 locale, only the ASCII letters have a case we can trust.
      lowered = CaseMap::toLowerAscii(static_cast<char16_t>(unit));
      uppered = CaseMap::toUpperAscii(static_cast<char16_t>(unit));
    }
    if (!keepsUnit(lowered)) lower[unit] = static_cast<char16_t>(lowered);
    if (!keepsUnit(uppered)) upper[unit] = static_cast<char16_t>(uppered);
  }
  if (locale) freelocale(locale);
}

}  // namespace s::str::strbuffer
