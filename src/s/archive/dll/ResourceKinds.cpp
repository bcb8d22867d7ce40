#include "s/archive/dll/ResourceKinds.h"

#include <iterator>

namespace s::archive::dll {

namespace {

// Type numbers by kind: ACCELERATOR, ANICURSOR, ANIICON, BITMAP, CURSOR, DIALOG,
// DLGINCLUDE, FONT, FONTDIR, GROUP_CURSOR, GROUP_ICON, HTML, ICON, MANIFEST, MENU,
// MESSAGETABLE, PLUGPLAY, RCDATA, STRING, VERSION, VXD.
constexpr int kTypeNumbers[] = {9, 21, 22, 2, 1, 5, 17, 8, 7, 12, 14, 23, 3, 24, 4, 11, 19, 10, 6, 16, 20};

}  // namespace

int ResourceKinds::kindOfType(int typeNumber) {
  for (int kind = 0; kind < static_cast<int>(std::size(kTypeNumbers)); ++kind)
    if (kTypeNumbers[kind] == typeNumber) return kind;
  return typeNumber;
}

int ResourceKinds::typeOfKind(int kind) {
  if (kind >= 0 && kind < static_cast<int>(std::size(kTypeNumbers))) return kTypeNumbers[kind];
  return kind;
}

}  // namespace s::archive::dll
