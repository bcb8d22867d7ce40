// Linux: no other copy of the program hands files over.
#include "s/gui/dialogs/dragndrop/Dialog.h"

namespace s::gui::dialogs::dragndrop {

void* Dialog::loadProgramIcon() { return nullptr; }

void Dialog::installCopyDataReceiver() {}

void Dialog::removeCopyDataReceiver() {}

bool Dialog::sendFiles(void*, const std::vector<std::u16string>&) { return false; }

}  // namespace s::gui::dialogs::dragndrop
