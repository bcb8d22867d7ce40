#include "s/gui/win/Box.h"

namespace s::gui::win {

// Drops come from the platform's shell and its OLE exchange, which do not exist here:
// the settings are only kept, and filesDropped() is the way in.
void Box::applyAcceptFiles() {}
void Box::createWebTarget() {}
void Box::destroyWebTarget() {}
void Box::onEvent(base::IObject*, int) {}
void Box::webAddressDropped() { notify(webAddressListeners_, kEventWebAddressDropped); }
void Box::nativeFilesDropped(void*) {}

}  // namespace s::gui::win
