// Loading a module as data and listing its resources through the platform.
#include <windows.h>

#include "s/archive/dll/win/Archive.h"
#include "s/io/Streams.h"

namespace s::archive::dll::win {

// The enumeration callbacks, with access to the archive's entry list.
struct ModuleEnumeration {
  Archive* archive;

  static void setType(Entry& entry, LPCWSTR type) {
    if (IS_INTRESOURCE(type)) {
      entry.setType(static_cast<int>(reinterpret_cast<ULONG_PTR>(type)));
    } else {
      entry.setType(std::u16string_view(reinterpret_cast<const char16_t*>(type)));
    }
  }

  static BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
    auto* self = reinterpret_cast<ModuleEnumeration*>(context);
    // One entry per name in the neutral language (0), which finds the resource of
    // the thread's language when there is no neutral one.
    HRSRC resource = FindResourceExW(module, type, name, 0);
    if (!resource) resource = FindResourceW(module, name, type);
    Entry* entry = self->archive->addEntry();
    setType(*entry, type);
    if (IS_INTRESOURCE(name)) {
      entry->setNameNumber(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    } else {
      entry->setName(std::u16string_view(reinterpret_cast<const char16_t*>(name)));
    }
    entry->setHandle(resource);
    entry->setSize(resource ? SizeofResource(module, resource) : 0);
    return TRUE;
  }

  static BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR context) {
    EnumResourceNamesW(module, type, onName, context);
    return TRUE;
  }
};

bool Archive::loadModule(std::u16string_view path) {
  const std::wstring wide(path.begin(), path.end());
  HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  module_ = module;
  ModuleEnumeration enumeration{this};
  return EnumResourceTypesW(module, ModuleEnumeration::onType, reinterpret_cast<LONG_PTR>(&enumeration)) != FALSE;
}

void Archive::unloadModule() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
  module_ = nullptr;
}

bool Archive::extractModuleResource(const Entry& entry, io::IOutputStream& out) {
  if (!module_ || !entry.getHandle()) return false;
  HMODULE module = static_cast<HMODULE>(module_);
  HRSRC resource = static_cast<HRSRC>(entry.getHandle());
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  const size_t size = static_cast<size_t>(entry.getSize());
  return size == 0 || io::Streams::writeFully(out, bytes, size);
}

}  // namespace s::archive::dll::win
