#include "LanguagesCommand.h"

#include "CommandLine.h"
#include "Platform.h"
#include "s/archive/ProgramResources.h"
#include "s/str/Decimal.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

using s::lang::LangPack;
using s::lang::Localizer;
using s::str::decimal;

const char* languagesUsage() {
  return "usage: pictorva-cli languages [--lang NAME] [--dump]\n"
         "\n"
         "Lists the languages the program speaks, one a line: its English name (the NAME\n"
         "that --lang takes), how many of the language document's texts it translates\n"
         "(the others show in English), and its own name. \"*\" marks the language the\n"
         "program speaks now: the system's (on Linux the first of LC_ALL, LC_MESSAGES\n"
         "and LANG that is set; on Windows the user's display language), English when\n"
         "the program has no texts in it, or the one --lang names.\n"
         "\n"
         "  --lang NAME  mark that language instead of the system's\n"
         "  --dump       every text of every language instead, one a line:\n"
         "               ENGLISH-NAME<TAB>ID<TAB>TEXT, where the text writes a backslash,\n"
         "               a tab and a line feed as \\\\, \\t and \\n\n";
}

struct LanguagesArguments {
  std::u16string language;
  bool dump = false;
  bool help = false;
};

bool parseArguments(const std::vector<std::u16string>& arguments, LanguagesArguments* parsed, std::u16string* error) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument == u"--help" || argument == u"-h") {
      parsed->help = true;
    } else if (argument == u"--dump") {
      parsed->dump = true;
    } else if (argument == u"--lang" && i + 1 < arguments.size()) {
      parsed->language = arguments[++i];
    } else if (argument.starts_with(u"--lang=")) {
      parsed->language = argument.substr(7);
    } else {
      *error = argument == u"--lang" ? u"--lang needs a value" : u"unknown argument \"" + argument + u"\"";
      return false;
    }
  }
  return true;
}

// A text on one line: backslash, tab and line feed escaped.
std::u16string oneLine(std::u16string_view text) {
  std::u16string out;
  for (char16_t unit : text) {
    switch (unit) {
      case u'\\': out += u"\\\\"; break;
      case u'\t': out += u"\\t"; break;
      case u'\n': out += u"\\n"; break;
      default: out += unit;
    }
  }
  return out;
}

std::u16string dumpOf(const LangPack& pack) {
  const std::u16string name(pack.englishName().view());
  std::u16string lines;
  for (size_t i = 0; i < pack.idCount(); ++i) {
    lines += name + u"\t" + decimal(pack.idAt(i)) + u"\t" + oneLine(pack.textAt(i).view()) + u"\n";
  }
  for (size_t i = 0; i < pack.stringIdCount(); ++i) {
    lines += name + u"\t" + oneLine(pack.stringIdAt(i).view()) + u"\t" + oneLine(pack.stringTextAt(i).view()) + u"\n";
  }
  return lines;
}

std::u16string listingLine(const LangPack& pack, bool current) {
  std::u16string line = current ? u"* " : u"  ";
  line += pack.englishName().view();
  // English names are ASCII, so padding them lines up the counts.
  line.resize(line.size() < 24 ? 24 : line.size() + 1, u' ');
  const std::u16string count = decimal(static_cast<int64_t>(pack.translatedCount()));
  line += std::u16string(count.size() < 4 ? 4 - count.size() : 0, u' ') + count + u"  ";
  line += pack.trueName().view();
  return line + u"\n";
}

}  // namespace

s::thread::Owned<Localizer> loadLanguages(std::u16string_view language, std::u16string* error) {
  s::thread::Owned<Localizer> localizer = Localizer::load(s::archive::ProgramResources::instance());
  if (language.empty()) return localizer;
  if (!localizer->findPack(language)) {
    *error = u"--lang takes the English name of a language (\"pictorva-cli languages\" lists them), not \"" +
             std::u16string(language) + u"\"";
    return {};
  }
  localizer->selectLanguage(language);
  return localizer;
}

int runLanguagesCommand(const std::vector<std::u16string>& arguments) {
  LanguagesArguments parsed;
  std::u16string error;
  if (!parseArguments(arguments, &parsed, &error)) {
    writeText(Stream::kErr, u"pictorva-cli: " + error + u"\n" + widen(languagesUsage()));
    return kExitUsage;
  }
  if (parsed.help) {
    writeText(Stream::kOut, widen(languagesUsage()));
    return kExitDone;
  }
  s::thread::Owned<Localizer> localizer = loadLanguages(parsed.language, &error);
  if (!localizer) {
    writeText(Stream::kErr, u"pictorva-cli: " + error + u"\n");
    return kExitUsage;
  }
  const LangPack* current = localizer->currentPack();
  std::u16string out;
  for (size_t i = 0; i < localizer->packCount(); ++i) {
    const LangPack& pack = *localizer->packAt(i);
    out += parsed.dump ? dumpOf(pack) : listingLine(pack, &pack == current);
  }
  writeText(Stream::kOut, out);
  return kExitDone;
}

}  // namespace pictorva::cli
