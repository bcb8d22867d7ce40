#include "s/base/Version.h"

namespace s::base {

const char* libraryVersion() { return PICTORVA_VERSION; }

}  // namespace s::base
