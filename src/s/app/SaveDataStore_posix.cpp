#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "s/app/SaveDataStore.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::app {

namespace {

// A path from the environment as a text (its bytes kept losslessly).
std::u16string textOf(const char* bytes) {
  str::strbuffer::StrBuffer text;
  text.assignUtf8Lossless(bytes);
  return std::u16string(text.view());
}

std::u16string homeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return textOf(home);
  const passwd* entry = ::getpwuid(::getuid());
  return entry && entry->pw_dir ? textOf(entry->pw_dir) : std::u16string();
}

}  // namespace

std::u16string SaveDataStore::xmlPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::u16string folder;
  if (config && config[0] == '/') {
    folder = textOf(config);
  } else {
    folder = homeFolder();
    if (folder.empty()) return {};
    folder += u"/.config";
  }
  return folder + u"/pictorva/SaveData.xml";
}

thread::Owned<map::IMappedData> SaveDataStore::open(std::u16string_view) { return openXml(xmlPath()); }

}  // namespace s::app
