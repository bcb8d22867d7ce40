#include "s/cleaner/CleanerRawObject.h"

#include <cstdlib>

namespace s::cleaner {

CleanerRawObject& CleanerRawObject::instance() {
  static CleanerRawObject cleaner;
  return cleaner;
}

void CleanerRawObject::dispose(void** slot) {
  if (!slot || !*slot) return;
  std::free(*slot);
  *slot = nullptr;
}

}  // namespace s::cleaner
