// Modules are Windows's: nothing can be loaded here.
#include "s/archive/dll/win/Archive.h"

namespace s::archive::dll::win {

bool Archive::loadModule(std::u16string_view) { return false; }

void Archive::unloadModule() { module_ = nullptr; }

bool Archive::extractModuleResource(const Entry&, io::IOutputStream&) { return false; }

}  // namespace s::archive::dll::win
