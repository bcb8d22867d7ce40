#pragma once
// The command line of pictorva-cli.
#include <cstdint>
#include <string>
#include <vector>

namespace pictorva::cli {

struct Options {
  enum class Command { kNone, kGallery, kHelp, kVersion };
  Command command = Command::kNone;
  int32_t style = 1;  // 1 tile, 2 flat
  bool titleGiven = false;
  std::u16string title;
  std::u16string width;   // as typed; the leading-integer rule applies later
  std::u16string height;
  std::vector<std::u16string> files;
};

// Parses the arguments after the program name. On a usage error returns false and
// sets *error to a one-line explanation.
bool parseOptions(const std::vector<std::u16string>& arguments, Options* options, std::u16string* error);

// The usage text, lines ended by '\n'.
const char* usageText();

}  // namespace pictorva::cli
