#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "s/lang/Localizer.h"
#include "s/thread/Owned.h"

namespace pictorva::cli {

// "languages": lists the languages the program speaks, or with --dump every text of
// every language. Takes the arguments after the command word; answers the exit
// code: 0 done, 2 usage error.
int runLanguagesCommand(const std::vector<std::u16string>& arguments);

// The program's language packs with the current one chosen by the system's language,
// or by language (an English name, as --lang gives it) when that is not empty. None,
// with *error set, when language names no pack.
s::thread::Owned<s::lang::Localizer> loadLanguages(std::u16string_view language, std::u16string* error);

}  // namespace pictorva::cli
