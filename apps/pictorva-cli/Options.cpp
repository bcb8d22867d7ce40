#include "Options.h"

#include <string_view>

#include "s/image/gui/dialogs/pictorva/GalleryRun.h"

namespace pictorva::cli {

using s::image::gui::dialogs::pictorva::GalleryRun;
using s::image::gui::dialogs::pictorva::Setting;

const char* usageText() {
  return "usage: pictorva-cli gallery [--style tile|flat|album] [--title TEXT] [--width W] [--height H]\n"
         "                            [--jobs N] [--files-from LIST] [--lang NAME] FILE...\n"
         "\n"
         "Makes a thumbnail gallery of the given files: a folder named \"thumbnail\" beside the\n"
         "first file (or thumbnail (1), thumbnail (2), ... when taken) with a copy of every file\n"
         "in \"img\", and an HTML page named after the title.\n"
         "\n"
         "  --style tile   small copies fitted into W x H cells in \"simg\" (default)\n"
         "  --style flat   the full-size copies in one column\n"
         "  --style album  a justified grid of rows H pixels high, sharp on dense screens,\n"
         "                 with a lightbox; small and display copies in \"simg\"\n"
         "  --title TEXT   the page title (default \"Thumbnail (Tile)\", \"Thumbnail (Flat)\"\n"
         "                 or \"Thumbnail (Album)\")\n"
         "  --width W      cell width in pixels (default 150; the leading integer counts);\n"
         "                 not with an album\n"
         "  --height H     cell height in pixels (default 150); an album's row height,\n"
         "                 16 to 1024 (default 200)\n"
         "  --jobs N       small copies made at once, 1 to 16 (default: the number of\n"
         "                 cores, at most 16); the gallery is the same for every N\n"
         "  --files-from LIST\n"
         "                 also the files listed in LIST, one path a line (UTF-8), after\n"
         "                 the FILE arguments; \"-\" reads the list from standard input\n"
         "  --lang NAME    the language of the progress texts, by its English name as\n"
         "                 \"pictorva-cli languages\" lists them (default: the system's)\n"
         "\n"
         "Without --style, --width or --height, the style and cell size the program\n"
         "remembers are used, as the window does (\"pictorva-cli settings\" shows and\n"
         "changes them); this command never changes them.\n"
         "\n"
         "Ctrl-C stops after the current file and still writes the page; a second Ctrl-C\n"
         "ends the program at once. The page's full path is the last line of the output.\n";
}

namespace {

static_assert(GalleryRun::kMaxJobs == 16, "the usage text and the --jobs message name the limit");

// A whole decimal number from 1 to max, nothing else.
bool parseCount(std::u16string_view text, int max, int* value) {
  if (text.empty() || text.size() > 3) return false;
  int number = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return false;
    number = number * 10 + (unit - u'0');
  }
  if (number < 1 || number > max) return false;
  *value = number;
  return true;
}

// "--name=value" or "--name value": the value, taking the next argument if needed.
bool optionValue(const std::vector<std::u16string>& arguments, size_t* index, std::u16string_view name,
                 std::u16string* value, bool* matched, std::u16string* error) {
  std::u16string_view argument = arguments[*index];
  *matched = false;
  if (argument.substr(0, name.size()) != name) return true;
  if (argument.size() == name.size()) {
    *matched = true;
    if (*index + 1 >= arguments.size()) {
      *error = std::u16string(name) + u" needs a value";
      return false;
    }
    *value = arguments[++*index];
    return true;
  }
  if (argument[name.size()] != u'=') return true;
  *matched = true;
  *value = std::u16string(argument.substr(name.size() + 1));
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::u16string>& arguments, Options* options, std::u16string* error) {
  *options = Options();
  options->command = Options::Command::kGallery;
  bool onlyFiles = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (onlyFiles || argument.empty() || argument[0] != u'-' || argument == u"-") {
      options->files.push_back(argument);
      continue;
    }
    if (argument == u"--") {
      onlyFiles = true;
      continue;
    }
    if (argument == u"--help" || argument == u"-h") {
      options->command = Options::Command::kHelp;
      return true;
    }
    bool matched = false;
    std::u16string value;
    if (!optionValue(arguments, &i, u"--style", &value, &matched, error)) return false;
    if (matched) {
      options->styleGiven = true;
      if (value == u"tile") {
        options->style = Setting::kStyleTile;
      } else if (value == u"flat") {
        options->style = Setting::kStyleFlat;
      } else if (value == u"album") {
        options->style = Setting::kStyleAlbum;
      } else {
        *error = u"--style takes tile, flat or album, not \"" + value + u"\"";
        return false;
      }
      continue;
    }
    if (!optionValue(arguments, &i, u"--title", &options->title, &matched, error)) return false;
    if (matched) {
      options->titleGiven = true;
      continue;
    }
    if (!optionValue(arguments, &i, u"--width", &options->width, &matched, error)) return false;
    if (matched) {
      options->widthGiven = true;
      continue;
    }
    if (!optionValue(arguments, &i, u"--height", &options->height, &matched, error)) return false;
    if (matched) {
      options->heightGiven = true;
      continue;
    }
    if (!optionValue(arguments, &i, u"--jobs", &value, &matched, error)) return false;
    if (matched) {
      if (!parseCount(value, GalleryRun::kMaxJobs, &options->jobs)) {
        *error = u"--jobs takes a number from 1 to 16, not \"" + value + u"\"";
        return false;
      }
      continue;
    }
    if (!optionValue(arguments, &i, u"--files-from", &value, &matched, error)) return false;
    if (matched) {
      options->fileLists.push_back(value);
      continue;
    }
    if (!optionValue(arguments, &i, u"--lang", &options->language, &matched, error)) return false;
    if (matched) continue;
    *error = u"unknown option \"" + argument + u"\"";
    return false;
  }
  if (!options->titleGiven) options->title = defaultTitle(options->style);
  return options->styleGiven ? checkAlbumOptions(*options, error) : true;
}

bool checkAlbumOptions(const Options& options, std::u16string* error) {
  if (options.style != Setting::kStyleAlbum) return true;
  if (options.widthGiven) {
    *error = u"--width has no meaning for an album (its rows take --height)";
    return false;
  }
  if (options.heightGiven) {
    const int32_t height = Setting::cellSizeFromText(options.height);
    if (height < Setting::kMinRowHeight || height > Setting::kMaxRowHeight) {
      *error = u"--height takes an album's row height from 16 to 1024, not \"" + options.height + u"\"";
      return false;
    }
  }
  return true;
}

std::u16string defaultTitle(int32_t style) {
  if (style == Setting::kStyleAlbum) return u"Thumbnail (Album)";
  return style == Setting::kStyleTile ? u"Thumbnail (Tile)" : u"Thumbnail (Flat)";
}

}  // namespace pictorva::cli
