#include <windows.h>
#include <shellapi.h>

#include "s/process/commandline/win/CommandLine.h"

namespace s::process::commandline::win {

void CommandLine::parseProcess() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return;
  std::vector<std::u16string> parameters;
  for (int i = 1; i < count; ++i) parameters.emplace_back(reinterpret_cast<const char16_t*>(arguments[i]));
  LocalFree(arguments);
  parse(parameters);
}

}  // namespace s::process::commandline::win
