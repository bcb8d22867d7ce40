#include <windows.h>

#include <string>

#include "s/app/SaveDataStore.h"
#include "s/reg/MappedData.h"

namespace s::app {

std::u16string SaveDataStore::xmlPath() {
  // The executable's own path, asked with a growing buffer (long paths are allowed).
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0) return {};
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  const size_t slash = module.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : module.substr(0, slash + 1);
  return std::u16string(folder.begin(), folder.end()) + u"savedata\\SaveData.xml";
}

thread::Owned<map::IMappedData> SaveDataStore::open(std::u16string_view softwareId) {
  thread::Owned<reg::MappedData> store = thread::make<reg::MappedData>();
  store->open(registryPath(softwareId));
  return thread::Owned<map::IMappedData>(store.detach());
}

}  // namespace s::app
