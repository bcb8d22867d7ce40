#include "s/app/SaveDataStore.h"

#include "s/xml/MappedData.h"

namespace s::app {

std::u16string SaveDataStore::registryPath(std::u16string_view softwareId) {
  return u"Software\\Tarn\\" + std::u16string(softwareId) + u"\\SaveData";
}

thread::Owned<map::IMappedData> SaveDataStore::openXml(std::u16string_view path) {
  thread::Owned<xml::MappedData> store = thread::make<xml::MappedData>();
  (void)store->open(path);
  return thread::Owned<map::IMappedData>(store.detach());
}

}  // namespace s::app
