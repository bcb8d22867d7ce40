#pragma once
#include <string>
#include <vector>

namespace pictorva::cli {

// "settings": lists, shows and changes the values the program remembers between
// starts. Takes the arguments after the command word; answers the exit code: 0 done,
// 1 the store could not be written, 2 usage error.
int runSettingsCommand(const std::vector<std::u16string>& arguments);

}  // namespace pictorva::cli
