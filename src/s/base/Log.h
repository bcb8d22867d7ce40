#pragma once
// Warnings about things that went wrong but that the program survives (a thread that
// would not end, ...): one line on standard error each. No user ever has to act on
// them; they are for whoever looks into a problem.
#include <string_view>

namespace s::base {

void logWarning(std::string_view message);

}  // namespace s::base
