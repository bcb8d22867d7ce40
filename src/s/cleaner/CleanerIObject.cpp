#include "s/cleaner/CleanerIObject.h"


namespace s::cleaner {

CleanerIObject& CleanerIObject::instance() {
  static CleanerIObject cleaner;
  return cleaner;
}

void CleanerIObject::dispose(void** slot) {
  if (!slot || !*slot) return;
  delete static_cast<base::IObject*>(*slot);
  *slot = nullptr;
}

}  // namespace s::cleaner
