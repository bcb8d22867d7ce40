#pragma once
// Where the program's save data lives, and opening it.
//
// - Windows: the registry store under HKEY_CURRENT_USER at
//   "Software\\Tarn\\" + software id + "\\SaveData"; the XML form of the store, when
//   asked for, is "savedata\\SaveData.xml" in the folder of the program's executable.
// - Linux: there is no registry, and the program's folder is not the user's to
//   write, so the store is the XML file $XDG_CONFIG_HOME/pictorva/SaveData.xml
//   (~/.config/pictorva/SaveData.xml when the variable is unset, empty or not an
//   absolute path).
#include <string>
#include <string_view>

#include "s/map/IMappedData.h"
#include "s/thread/Owned.h"

namespace s::app {

class SaveDataStore {
 public:
  SaveDataStore() = delete;

  // The software id: the language pack's text 300000, the same in every language.
  static constexpr char16_t kSoftwareId[] = u"Tarn Pictorva";

  // "Software\\Tarn\\" + softwareId + "\\SaveData".
  static std::u16string registryPath(std::u16string_view softwareId = kSoftwareId);
  // The XML store's file on this system (see above); empty when it cannot be found.
  static std::u16string xmlPath();

  // The store of this system, with auto-flush off (see above). On Linux a file that
  // could not be read whole is kept as ".bak" before the first flush, as the XML
  // store does.
  static thread::Owned<map::IMappedData> open(std::u16string_view softwareId = kSoftwareId);
  // The XML store on the file at path.
  static thread::Owned<map::IMappedData> openXml(std::u16string_view path);
};

}  // namespace s::app
