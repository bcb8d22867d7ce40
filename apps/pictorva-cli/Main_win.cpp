#include <string>
#include <vector>

#include "CommandLine.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument(argv[i]);
    arguments.emplace_back(argument.begin(), argument.end());
  }
  return pictorva::cli::runCommandLine(arguments);
}
