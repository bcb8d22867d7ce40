#include "s/base/Log.h"

#include <cstdio>

namespace s::base {

void logWarning(std::string_view message) {
  std::fprintf(stderr, "warning: %.*s\n", static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
}

}  // namespace s::base
