#pragma once
// Services of the Windows shell behind paths: the recycle bin, change notifications,
// shortcuts, type names and size texts, scheduled deletion, alternate data streams
// and the Explorer's listing settings. POSIX has none of these except the size text:
// there the operations answer false or an empty result, and notifications do nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::file {

class Shell {
 public:
  Shell() = delete;

  struct Stream {
    std::u16string name;  // ":name:$DATA" as the platform lists it
    int64_t size = 0;
  };

  static bool recycle(std::u16string_view path, bool confirm);
  static bool deleteAtRestart(std::u16string_view path);
  static void notifyCreated(std::u16string_view path, bool folder);
  static void notifyDeleted(std::u16string_view path, bool folder);
  static void notifyRenamed(std::u16string_view from, std::u16string_view to, bool folder);
  static void notifyUpdated(std::u16string_view path);

  // The shell's type name of an object (or of its extension when it does not exist).
  static std::u16string typeName(std::u16string_view path, bool exists, bool folder);
  // A short size text such as "1.50 KB".
  static std::u16string sizeText(int64_t size);

  // Opens the object with its associated program.
  static bool open(std::u16string_view path);

  static bool createShortcut(std::u16string_view target, std::u16string_view link, std::u16string_view description);
  static std::u16string shortcutTarget(std::u16string_view link);

  // Alternate data streams of a file, without the default "::$DATA".
  static bool listStreams(std::u16string_view path, std::vector<Stream>* streams);

  // Explorer's "Hidden" (1 shows hidden entries, 2 hides them) and "ShowSuperHidden"
  // settings, read at every call; the defaults where they cannot be read.
  static int explorerHidden();
  static int explorerShowSuperHidden();
};

}  // namespace s::file
