#include "CommandLine.h"

#include "ConvertCommand.h"
#include "GalleryCommand.h"
#include "InfoCommand.h"
#include "LanguagesCommand.h"
#include "Platform.h"
#include "SettingsCommand.h"
#include "s/base/Version.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

struct Command {
  const char16_t* name;
  const char* synopsis;  // the arguments after the command word, for the usage text
  int (*run)(const std::vector<std::u16string>& arguments);
};

// One line per command; "pictorva-cli COMMAND --help" explains each.
constexpr Command kCommands[] = {
    {u"gallery", "[--style tile|flat] [--title TEXT] [--width W] [--height H] [--jobs N] [--files-from LIST] [--lang NAME] FILE...",
     runGalleryCommand},
    {u"info", "FILE...", runInfoCommand},
    {u"convert", "IN OUT [--sharpen N]", runConvertCommand},
    {u"settings", "list | get KEYPATH NAME | set KEYPATH NAME VALUE [--store xml:PATH]", runSettingsCommand},
    {u"languages", "[--lang NAME] [--dump]", runLanguagesCommand},
};

std::u16string usage() {
  std::u16string text;
  const char* lead = "usage: ";
  for (const Command& command : kCommands) {
    text += widen(lead) + u"pictorva-cli " + command.name + u" " + widen(command.synopsis) + u"\n";
    lead = "       ";
  }
  text += u"       pictorva-cli --help | --version\n"
          u"\n"
          u"\"pictorva-cli COMMAND --help\" tells more about a command.\n";
  return text;
}

}  // namespace

std::u16string widen(const char* text) {
  s::str::strbuffer::StrBuffer out;
  out.appendUtf8(text);
  return std::u16string(out.view());
}

int runCommandLine(const std::vector<std::u16string>& arguments) {
  if (arguments.empty()) {
    writeText(Stream::kErr, u"pictorva-cli: no command given\n" + usage());
    return kExitUsage;
  }
  const std::u16string& word = arguments[0];
  if (word == u"--help" || word == u"-h" || word == u"help") {
    writeText(Stream::kOut, usage());
    return kExitDone;
  }
  if (word == u"--version") {
    writeText(Stream::kOut, u"pictorva-cli " + widen(s::base::libraryVersion()) + u"\n");
    return kExitDone;
  }
  for (const Command& command : kCommands) {
    if (word == command.name) return command.run({arguments.begin() + 1, arguments.end()});
  }
  writeText(Stream::kErr, u"pictorva-cli: unknown command \"" + word + u"\"\n" + usage());
  return kExitUsage;
}

}  // namespace pictorva::cli
