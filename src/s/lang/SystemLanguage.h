#pragma once
// The user's interface language, as the English name that selects a language pack.
//
// Languages are named through Windows language identifiers (LANGIDs: the primary
// language in the low bits, the sublanguage above; no primary language needs more
// than the low 8 bits, which are the ones looked at). A few full identifiers have
// names of their own ("CHINESE_TRADITIONAL", "PORTUGUESE_BRAZILIAN",
// "SERBIAN_LATIN", ...); every other identifier is named by its primary language,
// after the Windows SDK's LANG_ constant without its prefix ("JAPANESE"). The name
// is then lower-cased with its first letter upper-cased: "Japanese",
// "Chinese_traditional". An identifier no table knows gives "Unknown".
//
// On Windows the identifier is the user's default UI language. On Linux it comes
// from the locale that names the messages' language: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, read as
// language[_territory][.codeset][@modifier] and turned into the identifier Windows
// uses for that language and region, so both systems name a language alike.
#include <cstdint>
#include <string>
#include <string_view>

namespace s::lang {

// The English name of the user's interface language; computed once per process.
std::u16string_view systemLanguageName();

// The user's interface language identifier (see above).
uint16_t systemLanguageId();

// The English name of a language identifier: "Japanese" for 0x0411.
std::u16string languageNameOfId(uint16_t languageId);

// The Windows language identifier of a POSIX locale name: 0x0411 for
// "ja_JP.UTF-8", 0x081A for "sr_RS@latin", 0x0409 (English) for "C", "POSIX" and
// their variants such as "C.UTF-8"; 0 for a language no table knows.
uint16_t languageIdOfLocale(std::string_view locale);

}  // namespace s::lang
