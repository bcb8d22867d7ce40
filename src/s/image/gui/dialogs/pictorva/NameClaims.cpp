#include "s/image/gui/dialogs/pictorva/NameClaims.h"

#include "s/file/win/PathWin.h"
#include "s/str/Decimal.h"
#include "s/str/strbuffer/CaseMap.h"

namespace s::image::gui::dialogs::pictorva {

std::u16string NameClaims::keyOf(std::u16string_view name) {
  std::u16string key(name);
#ifdef _WIN32
  str::strbuffer::CaseMap::toUpper(key.data(), key.size());
#endif
  return key;
}

bool NameClaims::isTaken(std::u16string_view name) const { return taken_.count(keyOf(name)) != 0; }

std::u16string NameClaims::claim(std::u16string_view name) {
  if (taken_.insert(keyOf(name)).second) return std::u16string(name);
  // The variants put the number between the title and the extension, as the path
  // object splits a file name.
  thread::Owned<file::win::PathWin> path = file::win::PathWin::fromText(name);
  const std::u16string title(path->getTitle().view());
  const std::u16string extension(path->getExtension().view());
  for (int64_t n = 1;; ++n) {
    std::u16string variant = title + u" (" + str::decimal(n) + u")" + extension;
    if (taken_.insert(keyOf(variant)).second) return variant;
  }
}

}  // namespace s::image::gui::dialogs::pictorva
