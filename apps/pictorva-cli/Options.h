#pragma once
// The command line of pictorva-cli's gallery command.
#include <cstdint>
#include <string>
#include <vector>

#include "s/image/gui/dialogs/pictorva/Setting.h"

namespace pictorva::cli {

struct Options {
  enum class Command { kGallery, kHelp };
  Command command = Command::kGallery;
  // What the options did not give comes from the save-data store (see
  // GalleryCommand.cpp); the *Given flags tell which ones they gave.
  int32_t style = s::image::gui::dialogs::pictorva::Setting::kStyleTile;
  bool styleGiven = false;
  bool titleGiven = false;
  std::u16string title;
  bool widthGiven = false;
  bool heightGiven = false;
  std::u16string width;   // as typed; the leading-integer rule applies later
  std::u16string height;  // Tile: the cell height; Album: the row height
  std::vector<std::u16string> files;
  // The lists of --files-from, in order ("-": standard input); their paths follow
  // the files given as arguments.
  std::vector<std::u16string> fileLists;
  // Pictures made at once (--jobs); 0 means the number of cores.
  int jobs = 0;
  std::u16string language;  // --lang: an English name; empty for the system's language
};

// Parses the arguments after the command word "gallery". On a usage error returns false and
// sets *error to a one-line explanation. Giving no file at all is left to the caller,
// which reads the file lists.
bool parseOptions(const std::vector<std::u16string>& arguments, Options* options, std::u16string* error);

// The options an album refuses: --width, a --height outside the row heights. False
// with *error set; true for the other styles. parseOptions checks a given --style;
// the caller checks a style taken from the store.
bool checkAlbumOptions(const Options& options, std::u16string* error);

// "Thumbnail (Tile)", "Thumbnail (Flat)" or "Thumbnail (Album)".
std::u16string defaultTitle(int32_t style);

// The gallery command's usage text, lines ended by '\n'.
const char* usageText();

}  // namespace pictorva::cli
