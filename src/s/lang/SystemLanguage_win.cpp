#include <windows.h>

#include "s/lang/SystemLanguage.h"

namespace s::lang {

uint16_t systemLanguageId() { return GetUserDefaultUILanguage(); }

}  // namespace s::lang
