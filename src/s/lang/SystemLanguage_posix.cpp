#include <cstdlib>

#include "s/lang/SystemLanguage.h"

namespace s::lang {

uint16_t systemLanguageId() {
  // The variables that name the language of messages, strongest first; an empty one
  // counts as unset. With none, programs run in the C locale: English.
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return languageIdOfLocale(value);
  }
  return languageIdOfLocale("C");
}

}  // namespace s::lang
