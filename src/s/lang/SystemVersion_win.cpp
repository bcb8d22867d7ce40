#include <windows.h>
#include <versionhelpers.h>

#include "s/lang/SystemVersion.h"

namespace s::lang {

bool systemIsOlderThanVista() { return !IsWindowsVistaOrGreater(); }

}  // namespace s::lang
