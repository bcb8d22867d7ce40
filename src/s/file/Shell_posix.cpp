#include <cstdio>

#include "s/file/Shell.h"

namespace s::file {

bool Shell::recycle(std::u16string_view, bool) { return false; }
bool Shell::deleteAtRestart(std::u16string_view) { return false; }
void Shell::notifyCreated(std::u16string_view, bool) {}
void Shell::notifyDeleted(std::u16string_view, bool) {}
void Shell::notifyRenamed(std::u16string_view, std::u16string_view, bool) {}
void Shell::notifyUpdated(std::u16string_view) {}
std::u16string Shell::typeName(std::u16string_view, bool, bool) { return std::u16string(); }

std::u16string Shell::sizeText(int64_t size) {
  // Three significant digits in the largest fitting unit, as the Windows shell writes.
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  char text[64];
  if (size < 1024) {
    std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(size < 0 ? 0 : size));
  } else {
    double value = static_cast<double>(size) / 1024.0;
    int unit = 0;
    while (value >= 1000.0 && unit < 5) value /= 1024.0, ++unit;
    // Truncate rather than round, as the shell does.
    if (value < 10.0) {
      std::snprintf(text, sizeof text, "%.2f %s", static_cast<int>(value * 100) / 100.0, kUnits[unit]);
    } else if (value < 100.0) {
      std::snprintf(text, sizeof text, "%.1f %s", static_cast<int>(value * 10) / 10.0, kUnits[unit]);
    } else {
      std::snprintf(text, sizeof text, "%d %s", static_cast<int>(value), kUnits[unit]);
    }
  }
  std::u16string result;
  for (const char* c = text; *c; ++c) result.push_back(static_cast<char16_t>(*c));
  return result;
}

bool Shell::open(std::u16string_view) { return false; }

bool Shell::createShortcut(std::u16string_view, std::u16string_view, std::u16string_view) { return false; }
std::u16string Shell::shortcutTarget(std::u16string_view) { return std::u16string(); }

bool Shell::listStreams(std::u16string_view, std::vector<Stream>* streams) {
  streams->clear();
  return false;
}

int Shell::explorerHidden() { return 1; }
int Shell::explorerShowSuperHidden() { return 1; }

}  // namespace s::file
