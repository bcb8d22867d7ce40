#include "s/gui/native/NativeWindow.h"

#include "s/gui/Component.h"

namespace s::gui::native {

void NativeWindow::notifyDestroyed() { owner_.nativeWindowDestroyed(); }

}  // namespace s::gui::native
