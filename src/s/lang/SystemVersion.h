#pragma once
// What the language packs need to know of the operating system's version.

namespace s::lang {

// Whether the system is a Windows older than Vista (version below 6.0), whose fonts
// lack some letters the packs use. Never on Linux. The programs of this build need
// Vista or later to start, so this is false wherever they run; the packs keep the
// rule for the library's sake, and tests force it.
bool systemIsOlderThanVista();

}  // namespace s::lang
