#include <windows.h>
#include <shellapi.h>

#include "s/base/win/Scoped_win.h"
#include "s/process/commandline/win/CommandLine.h"

namespace s::process::commandline::win {

void CommandLine::parseProcess() {
  int count = 0;
  std::vector<std::u16string> parameters;
  {
    const base::win::LocalMemory<wchar_t**> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return;
    for (int i = 1; i < count; ++i) parameters.emplace_back(reinterpret_cast<const char16_t*>(arguments.get()[i]));
  }
  parse(parameters);
}

}  // namespace s::process::commandline::win
