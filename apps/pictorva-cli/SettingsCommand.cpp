#include "SettingsCommand.h"

#include "CommandLine.h"
#include "Platform.h"
#include "s/app/SavedValues.h"
#include "s/app/SaveDataStore.h"
#include "s/xml/MappedData.h"

namespace pictorva::cli {

namespace {

using s::app::SavedValues;

const char* settingsUsage() {
  return "usage: pictorva-cli settings list [--store xml:PATH]\n"
         "       pictorva-cli settings get KEYPATH NAME [--store xml:PATH]\n"
         "       pictorva-cli settings set KEYPATH NAME VALUE [--store xml:PATH]\n"
         "\n"
         "Shows and changes what the program remembers between starts: the gallery style,\n"
         "the cell size, the album's row height and the window's sizes and views. \"list\"\n"
         "prints every value as KEYPATH<TAB>NAME<TAB>VALUE, each as stored or its default;\n"
         "\"get\" prints one value; \"set\" stores one (numbers in decimal, flags true or\n"
         "false).\n"
         "\n"
         "  MainWindow\\View            ConvertTo            Tile, Flat or Album (empty: Tile)\n"
         "  MainWindow\\View            CompactView          true\n"
         "  MainWindow\\View            SmallWidth, SmallHeight   250, 250\n"
         "  MainWindow\\View            LargeWidth, LargeHeight   470, 400\n"
         "  MainWindow\\View            RightClickTransform  true\n"
         "  MainWindow\\ConvertTo\\Tile  CellWidth, CellHeight     150, 150\n"
         "  MainWindow\\ConvertTo\\Album RowHeight                 200\n"
         "\n"
         "\"pictorva-cli gallery\" takes the stored style, cell size and row height when no\n"
         "option gives them. Key paths take \\ or / between their parts.\n"
         "\n"
         "  --store xml:PATH  an XML file instead of the system's store, which is\n"
#ifdef _WIN32
         "                    the registry key HKEY_CURRENT_USER\\Software\\Tarn\\Tarn Pictorva\\SaveData\n"
#else
         "                    $XDG_CONFIG_HOME/pictorva/SaveData.xml (~/.config when unset)\n"
#endif
         "\n"
         "Exit codes: 0 done, 1 the store could not be written, 2 usage error (an unknown\n"
         "name, a value that is not of its type).\n";
}

struct SettingsArguments {
  std::vector<std::u16string> words;  // the action and its operands
  std::u16string xmlPath;             // from --store xml:PATH; empty for the system's store
  bool help = false;
};

bool parseArguments(const std::vector<std::u16string>& arguments, SettingsArguments* parsed, std::u16string* error) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument == u"--help" || argument == u"-h") {
      parsed->help = true;
      return true;
    }
    std::u16string store;
    if (argument == u"--store") {
      if (i + 1 >= arguments.size()) {
        *error = u"--store needs a value";
        return false;
      }
      store = arguments[++i];
    } else if (argument.starts_with(u"--store=")) {
      store = argument.substr(8);
    } else if (argument.starts_with(u"--")) {
      *error = u"unknown option \"" + argument + u"\"";
      return false;
    } else {
      parsed->words.push_back(argument);
      continue;
    }
    if (!store.starts_with(u"xml:") || store.size() == 4) {
      *error = u"--store takes xml:PATH, not \"" + store + u"\"";
      return false;
    }
    parsed->xmlPath = absolutePath(store.substr(4));
  }
  return true;
}

int usageError(const std::u16string& message) {
  writeText(Stream::kErr, u"pictorva-cli: " + message + u"\n" + widen(settingsUsage()));
  return kExitUsage;
}

// The value named by a key path and a name, or a usage message.
const SavedValues::Value* namedValue(const std::u16string& keyPath, const std::u16string& name) {
  const SavedValues::Value* value = SavedValues::find(keyPath, name);
  if (!value) {
    writeText(Stream::kErr, u"pictorva-cli: no setting \"" + name + u"\" under \"" + keyPath +
                                u"\"; \"pictorva-cli settings list\" shows them all\n");
  }
  return value;
}

std::u16string lineOf(const SavedValues::Value& value, const std::u16string& text) {
  return std::u16string(value.keyPath) + u"\t" + value.name + u"\t" + text + u"\n";
}

// The actions and the number of words each takes after its own.
struct Action {
  std::u16string_view name;
  size_t operands;
};
constexpr Action kActions[] = {{u"list", 0}, {u"get", 2}, {u"set", 3}};

int runSettings(const SettingsArguments& arguments) {
  const std::u16string& action = arguments.words[0];
  const Action* known = nullptr;
  for (const Action& each : kActions) {
    if (each.name == action) known = &each;
  }
  if (!known) return usageError(u"unknown action \"" + action + u"\"");
  if (arguments.words.size() - 1 != known->operands) {
    return usageError(u"wrong number of arguments for \"" + action + u"\"");
  }
  const SavedValues::Value* value = nullptr;
  if (action != u"list" && !(value = namedValue(arguments.words[1], arguments.words[2]))) return kExitUsage;

  s::thread::Owned<s::map::IMappedData> store = arguments.xmlPath.empty()
                                                    ? s::app::SaveDataStore::open()
                                                    : s::app::SaveDataStore::openXml(arguments.xmlPath);
  auto* xmlStore = dynamic_cast<s::xml::MappedData*>(store.get());
  if (xmlStore && xmlStore->isBackupPending()) {
    writeText(Stream::kErr, u"pictorva-cli: " + xmlStore->filePath() +
                                u" could not be read whole; values it held may show their defaults\n");
  }

  if (action == u"list") {
    std::u16string lines;
    for (const SavedValues::Value& each : SavedValues::all()) lines += lineOf(each, SavedValues::readAsText(*store, each));
    writeText(Stream::kOut, lines);
    return kExitDone;
  }
  if (action == u"get") {
    writeText(Stream::kOut, SavedValues::readAsText(*store, *value) + u"\n");
    return kExitDone;
  }
  const std::u16string& text = arguments.words[3];
  if (!SavedValues::writeFromText(*store, *value, text)) {
    return usageError(u"\"" + text + u"\" is no value for " + value->name +
                      (value->type == SavedValues::Type::kNumber ? u" (a whole number)" : u" (true or false)"));
  }
  const bool backedUp = xmlStore && xmlStore->isBackupPending();
  // An XML store without a file (no home folder to put it in) would take the value
  // and keep it nowhere.
  if (!store->flush() || (xmlStore && xmlStore->filePath().empty())) {
    const bool named = xmlStore && !xmlStore->filePath().empty();
    writeText(Stream::kErr, u"pictorva-cli: the setting could not be stored" +
                                (named ? u" in " + xmlStore->filePath() : std::u16string()) + u"\n");
    return kExitFailed;
  }
  if (backedUp) {
    writeText(Stream::kErr, u"pictorva-cli: the unreadable file was kept as " + xmlStore->filePath() +
                                s::xml::MappedData::kBackupSuffix + u"\n");
  }
  return kExitDone;
}

}  // namespace

int runSettingsCommand(const std::vector<std::u16string>& arguments) {
  SettingsArguments parsed;
  std::u16string error;
  if (!parseArguments(arguments, &parsed, &error)) return usageError(error);
  if (parsed.help) {
    writeText(Stream::kOut, widen(settingsUsage()));
    return kExitDone;
  }
  if (parsed.words.empty()) return usageError(u"no action given");
  return runSettings(parsed);
}

}  // namespace pictorva::cli
