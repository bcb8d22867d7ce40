#include "s/lang/SystemVersion.h"

namespace s::lang {

bool systemIsOlderThanVista() { return false; }

}  // namespace s::lang
