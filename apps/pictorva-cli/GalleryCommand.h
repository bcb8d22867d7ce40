#pragma once
#include <string>
#include <vector>

namespace pictorva::cli {

// Runs pictorva-cli with the arguments after the program name; answers the exit
// code: 0 done, 1 the gallery could not be made (output folder refused, a copy or the
// page not written), 2 usage error, 130 stopped by Ctrl-C.
int runCommandLine(const std::vector<std::u16string>& arguments);

}  // namespace pictorva::cli
