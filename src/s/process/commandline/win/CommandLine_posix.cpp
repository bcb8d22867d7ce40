#include "s/process/commandline/win/CommandLine.h"

namespace s::process::commandline::win {

void CommandLine::parseProcess() {}

}  // namespace s::process::commandline::win
